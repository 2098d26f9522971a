// The editor: its preview is the renderer's picture of the edited (and zoomed) record; a typed value
// that is no number is refused; randomise keeps what is locked; the view's bounds are
// told; apply hands over the edited record named as edited, cancel and reset nothing.
#include "app/editor_window.h"

#include "output/params_file.h"
#include "program/program.h"

#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

constexpr int kPaintMs = 20000;

PictureRecord startUpRecord()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(15, 4, 5, 600)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    return program.picture;
}

int indexOf(const char* code)
{
    const auto& numbers = editableNumbers();
    for (int k = 0; k < kEditableNumbers; ++k)
        if (qstrcmp(numbers[static_cast<std::size_t>(k)].code, code) == 0)
            return k;
    return -1;
}

class EditorWindowTest : public ::testing::Test {
protected:
    void typeInto(const char* code, const QString& text)
    {
        QLineEdit* field = m_editor.row(indexOf(code))->field();
        field->setText(text);
        emit field->editingFinished();
    }
    QImage rendered(const PictureRecord& record)
    {
        QFile file(m_dir.filePath(QStringLiteral("edited.json")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(paramsJson(record));
        file.close();
        const QString out = m_dir.filePath(QStringLiteral("edited.png"));
        QProcess render;
        render.start(QStringLiteral(MANDALIX_RENDER_EXECUTABLE), {QStringLiteral("--params"), file.fileName(), out});
        EXPECT_TRUE(render.waitForFinished(60000));
        EXPECT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
        return QImage(out).convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir m_dir;
    PictureRecord m_picture = startUpRecord();
    EditorWindow m_editor{QSize(453, 453), nullptr};
};

TEST_F(EditorWindowTest, ThePreviewIsTheRenderersPictureOfTheEditedRecord)
{
    m_editor.openFor(m_picture);
    m_editor.row(indexOf("n1"))->slider()->setValue(700);
    typeInto("komp1", QStringLiteral("400")); // beyond the draw's range: taken as it is
    // Formula set 3 paints every pixel; where a pixel fails (set 2's gaps) the preview is
    // black and the window keeps what it showed there before.
    m_editor.edit(indexOf("tip"), 3);
    m_editor.edit(indexOf("phase green"), 1.5);
    m_editor.zoomBy(EditorWindow::kZoomStep * EditorWindow::kZoomStep);
    EXPECT_EQ(m_editor.edited().picture.komp1, 400);
    EXPECT_EQ(m_editor.edited().picture.n1, fitToRange(10 + 20 * 0.7, editableNumbers()[4].range));
    EXPECT_EQ(m_editor.edited().palette.phase[1], 1.5);
    EXPECT_EQ(m_editor.edited().view, kStartView / 1.25 / 1.25);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_editor.isPreviewPainting(); }, kPaintMs));
    EXPECT_EQ(m_editor.preview()->picture().convertToFormat(QImage::Format_RGB32), rendered(m_editor.edited()));
}

TEST_F(EditorWindowTest, RefusesWhatIsNoNumberAndKeepsLockedNumbersWhenRandomising)
{
    m_editor.openFor(m_picture);
    typeInto("n4", QStringLiteral("a lot"));
    EXPECT_EQ(m_editor.edited(), m_picture);
    EXPECT_TRUE(m_editor.note().startsWith(QStringLiteral("n4: \"a lot\" is not a number"))) << m_editor.note().toStdString();

    for (const char* code : {"tip", "n2", "komp3", "baf02", "wavelength blue"})
        m_editor.row(indexOf(code))->setLocked(true);
    int changed = 0;
    for (int round = 0; round < 20; ++round) {
        const PictureRecord before = m_editor.edited();
        m_editor.randomise();
        for (const char* code : {"tip", "n2", "komp3", "baf02", "wavelength blue"})
            EXPECT_EQ(editableValue(m_editor.edited(), indexOf(code)), editableValue(m_picture, indexOf(code))) << code;
        changed += m_editor.edited().picture.n1 != before.picture.n1;
        for (int k = 0; k < kEditableParameters; ++k) {
            const ParameterRange& range = editableNumbers()[static_cast<std::size_t>(k)].range;
            EXPECT_TRUE(isInRange(editableValue(m_editor.edited(), k), range)) << k;
        }
    }
    EXPECT_GE(changed, 18) << "what is not locked is drawn anew";
}

TEST_F(EditorWindowTest, ZoomIsBoundedAndApplyCancelAndResetDoWhatTheySay)
{
    std::vector<PictureRecord> applied;
    QObject::connect(&m_editor, &EditorWindow::applied, [&](const PictureRecord& r) { applied.push_back(r); });
    m_editor.openFor(m_picture);
    m_editor.zoomBy(2);
    EXPECT_EQ(m_editor.edited().view, 1.5);
    EXPECT_TRUE(m_editor.note().isEmpty());
    m_editor.zoomBy(1e30);
    EXPECT_EQ(m_editor.edited().view, kMinView);
    EXPECT_TRUE(m_editor.note().contains(QStringLiteral("as close as it goes")));
    m_editor.zoomBy(1e-30);
    EXPECT_EQ(m_editor.edited().view, kMaxView);
    EXPECT_TRUE(m_editor.note().contains(QStringLiteral("as far as it goes")));

    m_editor.reset();
    EXPECT_EQ(m_editor.edited(), m_picture);
    m_editor.apply();
    EXPECT_TRUE(applied.empty()) << "nothing changed, nothing to paint";
    m_editor.openFor(m_picture);
    m_editor.edit(indexOf("f1"), 8);
    m_editor.cancel();
    EXPECT_TRUE(applied.empty());
    m_editor.openFor(m_picture);
    m_editor.edit(indexOf("f1"), 8);
    m_editor.apply();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].picture.f1, 8);
    EXPECT_EQ(applied[0].lineage, Lineage::editedFrom(m_picture.imeslike));
    EXPECT_FALSE(m_editor.isVisible());
}

} // namespace
} // namespace mandalix
