// The Save as dialog refuses, before anything is painted, a size outside 1 to 16384 a side
// and a file that cannot be written, and says why in the dialog; every field has a name
// for screen readers.
#include "app/save_as_dialog.h"

#include "export/picture_export.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

constexpr QSize kHugeScreen(20000, 1080);

struct DialogCase {
    const char* name;
    const char* typed;    // into the file name field, in the dialog's folder
    const char* size;     // the entry of the size list, by its first letters
    QSize typedSize;      // for "Width and height"
    const char* refusal;  // part of the reason; empty: accepted
};

class SaveAsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        QFile file(m_folder.filePath(QStringLiteral("file")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QTemporaryDir m_folder;
};

TEST_F(SaveAsDialogTest, RefusesWhatCannotBeSavedInTheDialogAndAcceptsTheRest)
{
    const DialogCase cases[] = {
        {"the window's size", "a.png", "Window", {}, ""},
        {"a typed size at the limits", "b.png", "Width", {1, kMaxExportSidePx}, ""},
        {"a screen larger than a side may be", "c.png", "Screen", {}, "at most 16384"},
        {"a folder that does not exist", "missing/d.png", "Window", {}, "No such file"},
        {"a folder that is a file", "file/e.png", "Window", {}, "Not a directory"},
    };
    for (const DialogCase& row : cases) {
        SCOPED_TRACE(row.name);
        SaveAsDialog dialog(nullptr, m_folder.path(), QStringLiteral("T.png"), kHugeScreen);
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromLatin1(row.typed));
        auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("ExportSize"));
        sizes->setCurrentIndex(sizes->findText(QString::fromLatin1(row.size), Qt::MatchStartsWith));
        if (row.typedSize.isValid()) {
            dialog.findChild<QSpinBox*>(QStringLiteral("ExportWidth"))->setValue(row.typedSize.width());
            dialog.findChild<QSpinBox*>(QStringLiteral("ExportHeight"))->setValue(row.typedSize.height());
        }
        dialog.accept();
        const QString path = m_folder.filePath(QString::fromLatin1(row.typed));
        EXPECT_EQ(dialog.choice().path, path);
        if (*row.refusal == '\0') {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_TRUE(dialog.problem().isEmpty()) << dialog.problem().toStdString();
            if (row.typedSize.isValid()) {
                EXPECT_EQ(dialog.choice().size, row.typedSize);
            }
            continue;
        }
        EXPECT_NE(dialog.result(), QDialog::Accepted) << "the dialog stays open";
        EXPECT_TRUE(dialog.problem().startsWith(QStringLiteral("Could not save \"%1\": ").arg(path)))
            << dialog.problem().toStdString();
        EXPECT_TRUE(dialog.problem().contains(QString::fromLatin1(row.refusal))) << dialog.problem().toStdString();
    }
}

TEST_F(SaveAsDialogTest, TheSideFieldsHoldOnlyOneTo16384)
{
    SaveAsDialog dialog(nullptr, m_folder.path(), QStringLiteral("T.png"), QSize(1920, 1080));
    for (const char* name : {"ExportWidth", "ExportHeight"}) {
        SCOPED_TRACE(name);
        auto* side = dialog.findChild<QSpinBox*>(QString::fromLatin1(name));
        side->setValue(0);
        EXPECT_EQ(side->value(), 1);
        side->setValue(20000);
        EXPECT_EQ(side->value(), kMaxExportSidePx);
    }
}

TEST_F(SaveAsDialogTest, EveryFieldHasANameForScreenReaders)
{
    SaveAsDialog dialog(nullptr, m_folder.path(), QStringLiteral("T.png"), QSize(1920, 1080));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    int fields = 0;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        const bool isField = qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget)
                             || (qobject_cast<QAbstractItemView*>(widget) && !qobject_cast<QHeaderView*>(widget))
                             || (qobject_cast<QLineEdit*>(widget) && !qobject_cast<QAbstractSpinBox*>(widget->parent())
                                 && !qobject_cast<QComboBox*>(widget->parent()));
        if (!isField || !widget->isVisible())
            continue;
        ++fields;
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString() << " "
                                                         << widget->metaObject()->className();
    }
    EXPECT_GE(fields, 6) << "the file dialog's fields and the size row";
}

} // namespace
} // namespace mandalix
