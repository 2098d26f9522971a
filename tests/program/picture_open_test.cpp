// Opening a picture: the window's size shows the saved pixels as they are, any other is
// painted again from its record; either way the strip, the state and the record become
// the opened picture's, so that "repeat  image" repaints it.
#include "program/picture_open.h"


#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

// A clock a few seconds further on at every reading, so every picture has its own seed.
class SteppingClock final : public Clock {
public:
    QDateTime now() const override
    {
        m_next = m_next.addSecs(7);
        return m_next;
    }

private:
    mutable QDateTime m_next{QDate(2027, 5, 1), QTime(8, 0, 0)};
};

class OpenPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartUp(m_program, noPacing());
        run(cmd::NewImageNewPalette{});
        m_record = m_program.picture;
        m_pixels = m_program.surfaces.Picture1.image();
        m_strip = m_program.surfaces.Picture3.image();
        // Everything changes before the picture is opened again.
        run(cmd::NewImageNewPalette{});
        run(cmd::GenerationType{});
        ASSERT_NE(m_program.picture, m_record);
        ASSERT_NE(m_program.surfaces.Picture3.image(), m_strip);
    }

    CommandResult run(const Command& command) { return runCommand(m_program, command, noPacing()); }

    // The record opened from `file` is on show, adopted from that file.
    void expectOpenedPictureIsOnShow(const QString& file)
    {
        PictureRecord adopted = m_record;
        adopted.lineage = Lineage::adoptedFrom(file);
        EXPECT_EQ(m_program.picture, adopted);
        EXPECT_EQ(m_program.strip, m_record.palette);
        EXPECT_EQ(m_program.surfaces.Picture3.image(), m_strip) << "the strip is painted from its waves";
        EXPECT_EQ(parametersOf(m_program.state), m_record.picture);
        EXPECT_EQ(m_program.state.nac, m_record.nac);
        EXPECT_EQ(m_program.state.imeslike, m_record.imeslike);
    }

    QTemporaryDir m_folder;
    SteppingClock m_clock;
    Program m_program{m_clock, Drives{m_folder.path(), m_folder.path(), false}};
    PictureRecord m_record;
    QImage m_pixels;
    QImage m_strip;
};

TEST_F(OpenPicture, AtTheWindowsSizeShowsTheSavedPixelsExactly)
{
    // Pixels no painting would give: they are shown as they were saved.
    QImage saved = m_pixels;
    saved.setPixel(0, 0, qRgb(1, 2, 3));
    const CommandResult result = run(cmd::Open{QStringLiteral("/p/a.png"), m_record, saved});
    EXPECT_EQ(result.kind, CommandResult::Kind::Info);
    EXPECT_EQ(result.text, QStringLiteral("Opened /p/a.png"));
    EXPECT_EQ(m_program.surfaces.Picture1.image(), saved);
    expectOpenedPictureIsOnShow(QStringLiteral("a.png"));

    // A picture that knows where it came from keeps its lineage.
    m_record.lineage = Lineage::mutatedFrom(QStringLiteral("T20270501080000"), 4, 0.5);
    (void)run(cmd::Open{QStringLiteral("/p/b.png"), m_record, saved});
    EXPECT_EQ(m_program.picture, m_record);
}

TEST_F(OpenPicture, WithoutPixelsPaintsTheRecordAndRepeatRepaintsIt)
{
    (void)run(cmd::Open{QStringLiteral("/p/large.png"), m_record, QImage()});
    EXPECT_EQ(m_program.surfaces.Picture1.image(), m_pixels) << "the record paints the same picture";
    expectOpenedPictureIsOnShow(QStringLiteral("large.png"));

    (void)run(cmd::RepeatImage{});
    EXPECT_TRUE(m_program.picture.isRepeat);
    EXPECT_EQ(m_program.picture.picture, m_record.picture);
    EXPECT_EQ(m_program.picture.nac, m_record.nac);
}

TEST(OpenCommand, IsAStepOfThePicturesHistory)
{
    EXPECT_TRUE(paintsAPicture(cmd::Open{}));
}

} // namespace
} // namespace mandalix
