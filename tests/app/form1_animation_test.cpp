// The window's side of the animations: A exports the picture on show in the window's own
// generation type, Esc cancels that export as it cancels a Save as, and a cell of the
// variations becomes the morph loop's second picture in the dialog.
#include "app/form1.h"

#include "app/variations_window.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

using namespace std::chrono_literals;

class Form1Animation : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form.setVariationSettingsPath(m_drive.filePath(QStringLiteral("variations.json")));
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
    }
    // Once the dialog is open (it runs its own loop), `answer` is called with it.
    void whenTheDialogOpens(const std::function<void(AnimationDialog&)>& answer)
    {
        QTimer::singleShot(0, &m_form, [this, answer] {
            AnimationDialog* dialog = m_form.animations().dialog();
            ASSERT_NE(dialog, nullptr);
            answer(*dialog);
        });
    }

    QTemporaryDir m_drive;
    FixedClock m_clock{QDateTime(QDate(2027, 4, 5), QTime(6, 7, 8))};
    Session m_program{m_clock, Drives{m_drive.path(), m_drive.path()}};
    Form1 m_form{m_program, nullptr, 0ms};
};

TEST_F(Form1Animation, APaintsInTheWindowsGenerationTypeAndEscCancelsTheExport)
{
    m_form.post(cmd::GenerationType{});
    settle();
    double windowNac = 0;
    {
        std::lock_guard lock(m_program.surfaces.lock);
        windowNac = m_program.state.nac;
        ASSERT_NE(windowNac, m_program.picture.nac) << "the next picture's type, not the one on show";
    }
    const QString path = m_drive.filePath(QStringLiteral("long.webm"));
    whenTheDialogOpens([&](AnimationDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("AnimationOutput"))->setText(path);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("AnimationSeconds"))->setValue(600); // time to cancel
        dialog.accept();
    });
    QTest::keyClick(&m_form, Qt::Key_A);
    ASSERT_TRUE(m_form.animations().isRunning());
    EXPECT_EQ(m_form.animations().job().settings.kind, AnimationKind::Painting);
    EXPECT_EQ(m_form.animations().job().picture.nac, windowNac);

    QSignalSpy finished(&m_form.animations(), &AnimationExports::finished);
    m_form.activateWindow(); // as the window manager does once the dialog is gone
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_form));
    QTest::keyClick(&m_form, Qt::Key_Escape);
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(m_form.statusLine()->text(),
              QStringLiteral("The export of the painting was cancelled; no file was written"));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(Form1Animation, ACellOfTheVariationsIsTheMorphsSecondPicture)
{
    PictureRecord other = m_program.picture;
    other.imeslike = QStringLiteral("T20270101000000");
    other.picture.tip = 2;
    AnimationKind kind = AnimationKind::Painting;
    std::optional<SecondPicture> second;
    whenTheDialogOpens([&](AnimationDialog& dialog) {
        kind = dialog.settings().kind;
        second = dialog.secondPicture();
        dialog.reject();
    });
    emit m_form.variations().morphAsked(other);
    EXPECT_EQ(kind, AnimationKind::Morph);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->record, other);
    EXPECT_EQ(second->name, other.imeslike);
    EXPECT_FALSE(m_form.animations().isRunning()) << "cancelled: nothing exported";
}

} // namespace
} // namespace mandalix
