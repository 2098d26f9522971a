// Save as at another size: the window's picture itself at 453 x 453, above it the
// picture painted again from its record as the renderer paints it, recoloured in order,
// and wherever the pipeline fails the colour the window shows at the nearest position.
#include "export/picture_export.h"
#include "output/picture_png.h"

#include "generator/pixel_terms.h"
#include "render_job.h"
#include "surface/colour.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(PictureExport, NearestGridPositionCentresTheFrameAndKeepsToThePicture)
{
    struct Row {
        int index, length, shorter, expected;
    };
    const Row rows[] = {
        {0, 453, 453, 0},      {452, 453, 453, 452},   {226, 453, 453, 226},
        {0, 906, 906, 0},      {1, 906, 906, 0},       {2, 906, 906, 1},   // (2.5 / 2) - 0.5 = 0.75
        {905, 906, 906, 452},  {7247, 7248, 7248, 452}, {3, 1812, 1812, 0}, // 3.5 / 4 - 0.5 = 0.375
        {1920, 3840, 2160, 226}, {1080, 2160, 2160, 226}, {0, 3840, 2160, 0}, // beyond the left edge
        {3839, 3840, 2160, 452},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.index << " of " << row.length << ", shorter " << row.shorter);
        EXPECT_EQ(nearestGridPosition(row.index, row.length, row.shorter), row.expected);
    }
}

TEST(PictureExport, SizesFromOneToTheLimitAreAllowed)
{
    for (const QSize size : {QSize(1, 1), QSize(16384, 16384), QSize(3840, 2160)})
        EXPECT_TRUE(exportSizeProblem(size).isEmpty()) << size.width() << " x " << size.height();
    EXPECT_EQ(exportSizeProblem(QSize(0, 453)), QStringLiteral("0 x 453 pixels: a side must be at least 1 pixel"));
    EXPECT_EQ(exportSizeProblem(QSize(453, -1)), QStringLiteral("453 x -1 pixels: a side must be at least 1 pixel"));
    EXPECT_EQ(exportSizeProblem(QSize(16385, 2)), QStringLiteral("16385 x 2 pixels: a side may be at most 16384 pixels"));
}

class PictureExportPainted : public ::testing::Test {
protected:
    void SetUp() override
    {
        RenderRequest request;
        request.seed = 41234.5f;
        request.moment = momentOfSeed(QDate(2026, 12, 7), request.seed);
        m_record = renderPicture(request, noPacing()).record;
        // Formula set 2 leaves rings where the pipeline fails.
        m_record.picture.tip = 2;
        m_record.picture.n4 = 0.9;
    }

    RenderedPicture render(int scale) const
    {
        RenderRequest request;
        request.recorded = m_record;
        request.scale = scale;
        request.threads = 2;
        return renderPicture(request, noPacing());
    }

    PictureRecord m_record;
    const std::atomic<bool> m_goOn{false};
};

TEST_F(PictureExportPainted, TheWindowsSizeIsThePictureOnShowPixelForPixel)
{
    QImage shown(453, 453, QImage::Format_RGB32);
    shown.fill(qRgb(1, 2, 3));
    shown.setPixel(17, 400, qRgb(200, 100, 50)); // the help panel, or anything shown
    EXPECT_EQ(paintExport(m_record, shown, QSize(453, 453), 2, m_goOn), shown);
}

TEST_F(PictureExportPainted, LargerIsPaintedAgainWithFailedPixelsFromTheWindowsPicture)
{
    const QImage window = render(1).picture;
    const QImage painted = render(2).picture;
    // A recolouring of a colour the picture has, made after it was painted.
    const QRgb from = painted.pixel(450, 450);
    const Colour green = fromArgb(qRgb(0, 0xFF, 0));
    m_record.replacements = {{fromArgb(from), green}, {green, fromArgb(qRgb(0, 0, 0xFE))}};
    const QImage recoloured = render(2).picture;
    // The window shows the recoloured picture, and in the rings what it showed before:
    // here the colour the first replacement made, which is already as it is shown.
    QImage shown = window;
    for (int y = 0; y < 453; ++y)
        for (int x = 0; x < 453; ++x)
            if (shown.pixel(x, y) == from)
                shown.setPixel(x, y, qRgb(0, 0, 0xFE));
    for (int y = 0; y < 906; ++y)
        for (int x = 0; x < 906; ++x)
            if (painted.pixelIndex(x, y) == kFailedIndex)
                shown.setPixel(nearestGridPosition(x, 906, 906), nearestGridPosition(y, 906, 906), qRgb(0, 0xFF, 0));

    const QImage exported = paintExport(m_record, shown, QSize(906, 906), 2, m_goOn);
    ASSERT_EQ(exported.size(), QSize(906, 906));
    EXPECT_EQ(exported.format(), QImage::Format_Indexed8) << "the window's colours get entries of their own";
    int failed = 0;
    int replaced = 0;
    for (int y = 0; y < 906; ++y) {
        for (int x = 0; x < 906; ++x) {
            const bool isFailed = painted.pixelIndex(x, y) == kFailedIndex;
            const QRgb expected = isFailed
                ? shown.pixel(nearestGridPosition(x, 906, 906), nearestGridPosition(y, 906, 906))
                : recoloured.pixel(x, y);
            failed += isFailed;
            replaced += painted.pixel(x, y) == from;
            ASSERT_EQ(exported.pixel(x, y), expected) << x << ", " << y;
        }
    }
    EXPECT_GT(failed, 1000) << "the rings fail";
    EXPECT_GT(replaced, 0);
    EXPECT_EQ(recoloured.pixel(450, 450), qRgb(0, 0, 0xFE)) << "replacements run in order";
}

TEST_F(PictureExportPainted, AWideSizeIsPaintedAsTheRendererPaintsItIndexedOrInRgb)
{
    // More of the pattern left and right, a middle row; the window shows one colour, or
    // a colour of its own at every position, more than a colour table holds beside the
    // strip's.
    const QSize size(1200, 1065);
    RenderRequest request;
    request.recorded = m_record;
    request.size = size;
    request.threads = 2;
    const QImage whole = renderPicture(request, noPacing()).picture;
    QImage flat(453, 453, QImage::Format_RGB32);
    flat.fill(qRgb(1, 2, 3));
    QImage distinct(453, 453, QImage::Format_RGB32);
    for (int y = 0; y < 453; ++y)
        for (int x = 0; x < 453; ++x)
            distinct.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x >> 8) * 2 + (y >> 8)));
    for (const auto& [shown, format] : {std::pair{flat, QImage::Format_Indexed8}, std::pair{distinct, QImage::Format_RGB32}}) {
        SCOPED_TRACE(format == QImage::Format_RGB32 ? "distinct colours" : "one colour");
        const QImage exported = paintExport(m_record, shown, size, 2, m_goOn);
        ASSERT_EQ(exported.size(), size);
        EXPECT_EQ(exported.format(), format);
        // Written as Save as writes it, rows made as they are deflated: the same pixels.
        const QTemporaryDir folder;
        const QString path = folder.filePath("wide.png");
        const ExportPicture picture = paintExportPicture(m_record, shown, size, 2, m_goOn);
        EXPECT_EQ(picture.isRgb, format == QImage::Format_RGB32);
        const PictureWrite written = writePicturePng(path, pngRowsOf(picture), m_record, m_goOn);
        ASSERT_TRUE(written.ok) << written.message.toStdString();
        EXPECT_EQ(QImage(path).convertToFormat(QImage::Format_RGB32), exported.convertToFormat(QImage::Format_RGB32));
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(exported.pixel(x, y),
                          whole.pixelIndex(x, y) == kFailedIndex
                              ? shown.pixel(nearestGridPosition(x, size.width(), size.height()),
                                            nearestGridPosition(y, size.height(), size.height()))
                              : whole.pixel(x, y))
                    << x << ", " << y;
    }

    const std::atomic<bool> cancelled{true};
    EXPECT_TRUE(paintExport(m_record, flat, size, 2, cancelled).isNull());
}

} // namespace
} // namespace mandalix
