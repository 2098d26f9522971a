// The window's keys: every button has a tooltip, and every button that does something has
// a key that does what its click does.
#include "app/form1.h"
#include "app/form1_keys.h"
#include "app/form1_layout.h"

#include <QPushButton>
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
    Program m_program{m_clock, Drives{m_drive.path(), m_drive.path()}};
    Form1 m_form{m_program, 0ms};
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
    for (const char* key : {kSaveAsKey, kOpenKey, kCancelKey, "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Y", "F11"})
        EXPECT_TRUE(keys.insert(QString::fromLatin1(key)).second) << key;
    std::set<QString> shortcuts;
    for (const QShortcut* shortcut : m_form.findChildren<QShortcut*>())
        shortcuts.insert(shortcut->key().toString());
    EXPECT_EQ(shortcuts, keys) << "every key is a window shortcut, and no other";
}

} // namespace
} // namespace mandalix
