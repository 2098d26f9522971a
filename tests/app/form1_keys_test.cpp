// The window's keys: every button has a tooltip, and every button that does something has
// a key that does what its click does; `?` and Shift+F1 open the keys sheet; the slide
// show reads its keys from its table; the surfaces have names for screen readers.
#include "app/form1.h"
#include "app/form1_keys.h"
#include "app/form1_layout.h"
#include "app/keys_sheet.h"
#include "app/slide_show_window.h"

#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

class Form1Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form.show();
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
        m_form.start();
        settle();
    }
    void settle()
    {
        ASSERT_TRUE(m_form.worker().waitUntilIdle(60s));
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QString keyOf(const char* name) const
    {
        for (const KeyRow& row : kButtonKeys)
            if (qstrcmp(row.name, name) == 0)
                return QString::fromLatin1(row.key);
        return QStringLiteral("(no row)");
    }

    QTemporaryDir m_drive;
    FixedClock m_clock{QDateTime(QDate(2027, 4, 5), QTime(6, 7, 8))};
    Session m_program{m_clock, Drives{m_drive.path(), m_drive.path()}};
    Form1 m_form{m_program, nullptr, 0ms};
};

TEST_F(Form1Keys, EveryButtonHasATooltipAndEveryCommandAKeyThatClicksIt)
{
    std::set<QString> keys;
    for (const ControlRow& row : kControls) {
        if (row.kind != ControlKind::Button)
            continue;
        SCOPED_TRACE(row.name);
        auto* button = m_form.findChild<QPushButton*>(QString::fromLatin1(row.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(row.caption)) << "the caption is as it was";
        EXPECT_FALSE(button->toolTip().isEmpty());
        const QString key = keyOf(row.name);
        if (row.action == ClickAction::Nothing) {
            EXPECT_TRUE(key.isEmpty());
            continue;
        }
        ASSERT_FALSE(key.isEmpty()) << "a button that does something has a key";
        EXPECT_TRUE(keys.insert(key).second) << "one key for one button";
        EXPECT_TRUE(button->toolTip().endsWith(QStringLiteral("(%1)").arg(key))) << button->toolTip().toStdString();
        if (row.action == ClickAction::Exit)
            continue;
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keySequence(&m_form, QKeySequence(key));
        EXPECT_EQ(clicked.count(), 1);
        settle();
    }
    for (const WindowKeyRow& row : kWindowKeys)
        EXPECT_TRUE(keys.insert(QString::fromLatin1(row.key)).second) << row.key;
    std::set<QString> shortcuts;
    for (const QShortcut* shortcut : m_form.findChildren<QShortcut*>())
        shortcuts.insert(shortcut->key().toString());
    for (const char* key : {"Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Y", "F11"})
        EXPECT_TRUE(shortcuts.count(QString::fromLatin1(key))) << "still taken: " << key;
    EXPECT_EQ(shortcuts, keys) << "every key is a window shortcut, and no other";
}

TEST_F(Form1Keys, QuestionMarkAndShiftF1OpenTheKeysSheetBesideThePictureAndEscClosesIt)
{
    // Room on the screen right of the picture.
    m_form.move(m_form.screen()->availableGeometry().topLeft() - QPoint(400, 0));
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Question), QKeySequence(Qt::SHIFT | Qt::Key_F1)}) {
        SCOPED_TRACE(key.toString().toStdString());
        m_form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
        QTest::keySequence(&m_form, key);
        auto* sheet = m_form.findChild<KeysSheet*>();
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet));
        EXPECT_TRUE(sheet->isWindow()) << "a window of its own";
        const QRect picture(m_form.view("Picture1")->mapToGlobal(QPoint(0, 0)), m_form.view("Picture1")->size());
        EXPECT_FALSE(sheet->frameGeometry().intersects(picture)) << "not over the picture";
        sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet));
        QTest::keyClick(sheet, Qt::Key_Escape);
        EXPECT_FALSE(sheet->isVisible());
    }
}

TEST_F(Form1Keys, ThePictureTheStripAndTheStatusLineHaveAccessibleNames)
{
    for (const char* name : {"Picture1", "Picture3"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(m_form.view(name)->accessibleName().isEmpty());
    }
    EXPECT_NE(m_form.view("Picture1")->accessibleName(), m_form.view("Picture3")->accessibleName());
    EXPECT_FALSE(m_form.statusLine()->accessibleName().isEmpty());
}

TEST(SlideShowKeys, EveryKeyOfTheTableMapsToItsActionShiftAndKeypadAside)
{
    for (const SlideKeyRow& row : kSlideShowKeys) {
        SCOPED_TRACE(row.key);
        const QKeyCombination key = QKeySequence(QString::fromLatin1(row.key))[0];
        EXPECT_EQ(slideKeyOf(key), row.action);
        EXPECT_EQ(slideKeyOf(QKeyCombination(key.keyboardModifiers() | Qt::ShiftModifier | Qt::KeypadModifier,
                                             key.key())),
                  row.action);
    }
    EXPECT_EQ(slideKeyOf(QKeyCombination(Qt::NoModifier, Qt::Key_Q)), std::nullopt) << "Q alone does not exit";
    EXPECT_EQ(slideKeyOf(QKeyCombination(Qt::ControlModifier, Qt::Key_S)), std::nullopt);
    EXPECT_EQ(slideKeyOf(QKeyCombination(Qt::ControlModifier, Qt::Key_Q)), SlideKey::Exit);
}

} // namespace
} // namespace mandalix
