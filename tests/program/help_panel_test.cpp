#include "program/help_panel.h"

#include "program/program.h"
#include "surface/interface_font.h"

#include <QFontMetrics>
#include <QRect>

#include <gtest/gtest.h>

#include <vector>

namespace mandalix {
namespace {

const QRect kPanel(20, 20, 411, 281); // columns 20..430, rows 20..300

struct Expected {
    int y;
    QString text;
};

// The panel's lines as the user must read them, the acknowledgement at y = 250 aside.
const std::vector<Expected> kQuoted = {
    {40, "COMMAND BUTTONS"},
    {55, "generation type: select appearance mode"},
    {70, "new img / new palette: new imag egenerated using new palette"},
    {85, "new img / old palette: new image generated using existing palette"},
    {100, "repeat image: generate image using the same parameters"},
    {115, "change palette: select new palette"},
    {130, "save on disk D: save the image as TYearMoDaHoMiSe.jpg"},
    {160, "SUGGESTIONS"},
    {175, "color change: click selected color on palette and click somewhere on image"},
    {190, "non successful color change operation - click repeat image "},
    {205, "automatic slide show - click several times on new img / new palette"},
    {220, "close this help - click repeat image"},
    {265, "*"},
};

// A picture with no grey and no black in it, different in every neighbouring pixel.
Surface patternedPicture()
{
    Surface picture(kPictureSizePx, kPictureSizePx, kPictureBackColour);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.PSet(x, y, rgbColour(10 + x % 200, 30 + y % 170, 210 + (x + y) % 40));
    return picture;
}

QFont printFont()
{
    QFont font = interfaceFont();
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

TEST(HelpPanel_Lines, AreTheQuotedTextsWithAnAcknowledgement)
{
    ASSERT_EQ(kHelpLines.size(), kQuoted.size() + 1);
    std::size_t quoted = 0;
    for (const HelpLine& line : kHelpLines) {
        const QString text = QString::fromLatin1(line.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(text.contains("  "));
        if (line.y == 250) {
            EXPECT_TRUE(text.contains("thank", Qt::CaseInsensitive));
            EXPECT_TRUE(text.contains("suggestion", Qt::CaseInsensitive));
            continue;
        }
        ASSERT_LT(quoted, kQuoted.size());
        EXPECT_EQ(line.y, kQuoted[quoted].y);
        EXPECT_EQ(text, kQuoted[quoted].text);
        ++quoted;
    }
    EXPECT_EQ(quoted, kQuoted.size());
}

TEST(HelpPanel_Lines, FitThePanelWithoutOverlapping)
{
    const QFontMetrics metrics(printFont());
    for (std::size_t k = 0; k < kHelpLines.size(); ++k) {
        const QString text = QString::fromLatin1(kHelpLines[k].text);
        SCOPED_TRACE(text.toStdString());
        // Every text is narrower than the panel, so none may run past its right edge.
        EXPECT_LE(30 + metrics.horizontalAdvance(text), 431);
        EXPECT_LE(30 + metrics.boundingRect(text).right(), 430);
        const int nextTop = k + 1 < kHelpLines.size() ? kHelpLines[k + 1].y : 301;
        EXPECT_LE(kHelpLines[k].y + metrics.height(), nextTop);
    }
}

TEST(HelpPanel_ShowHelp, PaintsThePanelAndLeavesThePictureAround)
{
    Surface picture = patternedPicture();
    const QImage before = picture.image();
    WindowState s;
    ShowHelp(s, picture);
    EXPECT_EQ(s.i, 431);

    // The same panel built another way: a grey fill, then each line printed.
    Surface expected = patternedPicture();
    for (int y = kPanel.top(); y <= kPanel.bottom(); ++y)
        for (int x = kPanel.left(); x <= kPanel.right(); ++x)
            expected.PSet(x, y, rgbColour(200, 200, 200));
    std::vector<Expected> lines = kQuoted;
    for (const HelpLine& line : kHelpLines)
        if (line.y == 250)
            lines.push_back({250, QString::fromLatin1(line.text)});
    for (const Expected& line : lines) {
        expected.setCurrentX(30);
        expected.setCurrentY(line.y);
        expected.Print(line.text);
    }
    const QImage after = picture.image();
    EXPECT_EQ(after, expected.image());

    int changedOutside = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (!kPanel.contains(x, y) && after.pixel(x, y) != before.pixel(x, y))
                ++changedOutside;
    EXPECT_EQ(changedOutside, 0);

    ShowHelp(s, picture);
    EXPECT_EQ(picture.image(), after);
    EXPECT_EQ(s.i, 431);
}

TEST(HelpPanel_HelpCommand, PaintsThePanelOnPicture1)
{
    FixedClock clock(QDateTime(QDate(2024, 3, 1), QTime(10, 20, 30)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    Surface expected = program.surfaces.Picture1;
    WindowState scratch;
    ShowHelp(scratch, expected);
    const QImage form1 = program.surfaces.Form1.image();
    const QImage strip = program.surfaces.Picture3.image();

    runCommand(program, cmd::Help{}, noPacing());
    EXPECT_EQ(program.surfaces.Picture1.image(), expected.image());
    EXPECT_EQ(program.surfaces.Form1.image(), form1);
    EXPECT_EQ(program.surfaces.Picture3.image(), strip);
    EXPECT_EQ(program.state.i, 431);
}

} // namespace
} // namespace mandalix
