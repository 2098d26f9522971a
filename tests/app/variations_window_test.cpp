// The variations window: the parent in the middle and its children painted as the engine
// paints them, walking by click and key, adopting, a typed strength, and locks kept
// between runs.
#include "app/variations_window.h"

#include "output/params_file.h"
#include "program/program.h"
#include "variations/mutation.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

constexpr int kPaintMs = 20000;

PictureRecord startUpRecord()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(11, 22, 33, 444)));
    Program program(clock, Drives{});
    StartUp(program, noPacing());
    return program.picture;
}

class VariationsWindowTest : public ::testing::Test {
protected:
    QString settingsPath() const { return m_dir.filePath(QStringLiteral("variations.ini")); }
    std::unique_ptr<VariationsWindow> makeWindow()
    {
        auto window = std::make_unique<VariationsWindow>(settingsPath(), [this] { return m_parent; }, nullptr);
        window->resize(420, 520);
        return window;
    }
    bool waitPainted(const VariationsWindow& window)
    {
        return QTest::qWaitFor([&] { return window.cellsWaiting() == 0; }, kPaintMs);
    }
    QImage enginePicture(const PictureRecord& record, const VariationsWindow& window)
    {
        return paintCell(record, window.grid()->cellDevicePixels()).image;
    }

    QTemporaryDir m_dir;
    PictureRecord m_parent = startUpRecord();
};

TEST_F(VariationsWindowTest, ShowsTheEnginesPicturesAndWalksByClickAndKey)
{
    auto window = makeWindow();
    PictureRecord adopted;
    QObject::connect(window.get(), &VariationsWindow::adopted, [&](const PictureRecord& r) { adopted = r; });
    window->openFor(m_parent);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << "keys go to the active window";
    ASSERT_TRUE(waitPainted(*window));
    const Generation first = window->walk().current();
    ASSERT_EQ(first.cells.size(), 9u);
    EXPECT_EQ(window->grid()->cell(4)->picture(), enginePicture(m_parent, *window));
    EXPECT_EQ(window->grid()->cell(7)->picture(), enginePicture(first.cells[7], *window));

    // The renderer makes the same children of the same parent, seed and strength.
    QFile parentFile(m_dir.filePath(QStringLiteral("parent.json")));
    ASSERT_TRUE(parentFile.open(QIODevice::WriteOnly));
    parentFile.write(paramsJson(m_parent));
    parentFile.close();
    const QSize cellPx = window->grid()->cellDevicePixels();
    QProcess render;
    render.start(QStringLiteral(MANDALIX_RENDER_EXECUTABLE),
                 {QStringLiteral("--params"), parentFile.fileName(), QStringLiteral("--variations"), QStringLiteral("8"),
                  QStringLiteral("--mutation-seed"), QString::number(first.seed, 'f', 0), QStringLiteral("--strength"),
                  QString::number(first.strength, 'g', 17), QStringLiteral("--size"),
                  QStringLiteral("%1x%2").arg(cellPx.width()).arg(cellPx.height()), QStringLiteral("--out-dir"), m_dir.path()});
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    for (int k = 1; k <= 8; ++k) {
        const QImage rendered(m_dir.filePath(QStringLiteral("variation-%1.png").arg(k)));
        EXPECT_EQ(rendered.convertToFormat(QImage::Format_RGB32), window->grid()->cell(k <= 4 ? k - 1 : k)->picture()) << k;
    }

    const QImage clicked = window->grid()->cell(1)->picture();
    QTest::mouseClick(window->grid()->cell(1), Qt::LeftButton);
    EXPECT_EQ(window->walk().current().parent, first.cells[1]);
    EXPECT_EQ(window->grid()->cell(4)->picture(), clicked) << "the new parent shows at once";
    ASSERT_TRUE(waitPainted(*window));
    EXPECT_EQ(window->grid()->cell(0)->picture(), enginePicture(window->walk().current().cells[0], *window));

    QTest::keyClick(window.get(), Qt::Key_Backspace);
    EXPECT_EQ(window->walk().current().cells, first.cells);
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->walk().current().parent, m_parent);
    EXPECT_NE(window->walk().current().seed, first.seed);
    QTest::keyClick(window.get(), Qt::Key_Right);
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_EQ(adopted, window->walk().current().cells[5]) << "Enter adopts the selected cell";
    EXPECT_FALSE(window->isVisible());
}

TEST_F(VariationsWindowTest, AStrengthTypedIsCheckedAndLocksAreKeptBetweenRuns)
{
    {
        auto window = makeWindow();
        window->openFor(m_parent);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << "keys go to the active window";
        auto* strength = window->findChild<QLineEdit*>(QStringLiteral("VariationsStrength"));
        auto* note = window->findChild<QLabel*>(QStringLiteral("VariationsNote"));
        const struct {
            const char* typed;
            double strength;
            const char* said;
        } cases[] = {{"abc", kDefaultStrength, "is not a number"},
                     {"5", kMaxStrength, "out of range"},
                     {"0.1", 0.1, ""}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.typed);
            strength->setText(QString::fromLatin1(c.typed));
            emit strength->editingFinished();
            EXPECT_EQ(window->walk().strength(), c.strength);
            EXPECT_EQ(window->walk().current().strength, c.strength);
            EXPECT_EQ(note->text().isEmpty(), *c.said == '\0');
            EXPECT_TRUE(note->text().contains(QString::fromLatin1(c.said))) << note->text().toStdString();
        }
        QTest::keyClick(window.get(), Qt::Key_BracketRight);
        EXPECT_DOUBLE_EQ(window->walk().strength(), 0.2);
        window->findChild<QCheckBox*>(QStringLiteral("VariationsLock_palette"))->click();
        for (const PictureRecord& cell : window->walk().current().cells)
            EXPECT_EQ(cell.palette, m_parent.palette);
    }
    auto again = makeWindow();
    EXPECT_TRUE(again->walk().locks().isLocked(Group::Palette));
    EXPECT_FALSE(again->walk().locks().isLocked(Group::Rings));
    EXPECT_DOUBLE_EQ(again->walk().strength(), 0.2);
    EXPECT_TRUE(again->findChild<QCheckBox*>(QStringLiteral("VariationsLock_palette"))->isChecked());
}

TEST_F(VariationsWindowTest, AParentThatFailsEverywhereStillHasChildren)
{
    m_parent.picture.tip = 300; // no formula set: every pixel fails
    auto window = makeWindow();
    window->openFor(m_parent);
    ASSERT_TRUE(waitPainted(*window));
    const VariationCell* parent = window->grid()->cell(window->walk().current().parentIndex);
    EXPECT_TRUE(parent->failsEverywhere());
    EXPECT_EQ(parent->accessibleDescription(), QStringLiteral("fails everywhere"));
    int painted = 0;
    for (int k = 0; k < window->grid()->count(); ++k)
        painted += !window->grid()->cell(k)->failsEverywhere();
    EXPECT_EQ(painted, 8) << "children take their formula set from its range";
}

} // namespace
} // namespace mandalix
