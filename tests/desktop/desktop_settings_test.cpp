// KDE Plasma's and Xfce's ways, against stand-ins for their commands in a folder of the
// test's own: every last-image property set, and a refusal half-way putting back those
// already set.
#include "desktop/desktop_settings.h"

#include <QTextStream>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

class DesktopSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        // xfconf-query keeping each property's value in <store><property>/value; a
        // property whose name holds "refusing" cannot be set. Listed in order, so the refusing
        // one, last, comes after the others were set.
        writeCommand("xfconf-query",
                     "store=" + m_folder.filePath("store") + "\n"
                     "if [ \"$3\" = -l ]; then find \"$store\" -name value | sed \"s#^$store##; s#/value\\$##\" | sort; exit 0; fi\n"
                     "if [ \"$5\" = -s ]; then\n"
                     "  case \"$4\" in *refusing*) echo 'Property cannot be set' >&2; exit 1;; esac\n"
                     "  mkdir -p \"$store$4\" && printf '%s\\n' \"$6\" > \"$store$4/value\"; exit 0\n"
                     "fi\n"
                     "cat \"$store$4/value\"\n");
        writeCommand("plasma-apply-wallpaperimage", "printf '%s\\n' \"$@\" > " + m_folder.filePath("plasma-args") + "\n");
        m_path.folders = {m_folder.filePath("bin")};
    }

    void writeCommand(const QString& name, const QString& body)
    {
        QDir(m_folder.path()).mkpath("bin");
        QFile file(m_folder.filePath("bin/" + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("#!/bin/sh\n" + body).toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void setProperty(const QString& property, const QString& value)
    {
        QDir().mkpath(m_folder.filePath("store") + property);
        QFile file(m_folder.filePath("store") + property + "/value");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((value + "\n").toUtf8());
    }
    QString property(const QString& property) const
    {
        QFile file(m_folder.filePath("store") + property + "/value");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    }

    QTemporaryDir m_folder;
    CommandPath m_path;
};

TEST_F(DesktopSettings, XfceSetsEveryLastImageAndPutsThemBackWhenOneIsRefused)
{
    const QStringList monitors{"/backdrop/screen0/monitorVGA-1/workspace0/last-image",
                               "/backdrop/screen0/monitorHDMI-1/workspace0/last-image"};
    for (const QString& monitor : monitors)
        setProperty(monitor, "/earlier.png");
    setProperty("/backdrop/screen0/monitorVGA-1/workspace0/image-style", "5");

    ASSERT_TRUE(setXfceWallpaper(m_path, "/w/T20261209101500-64x48.png").ok);
    for (const QString& monitor : monitors)
        EXPECT_EQ(property(monitor), "/w/T20261209101500-64x48.png") << monitor.toStdString();
    EXPECT_EQ(property("/backdrop/screen0/monitorVGA-1/workspace0/image-style"), "5");

    setProperty("/backdrop/screen0/zz-refusing/workspace0/last-image", "/refused-earlier.png");
    const Result<> refused = setXfceWallpaper(m_path, "/w/new.png");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, "xfconf-query answered: Property cannot be set");
    for (const QString& monitor : monitors)
        EXPECT_EQ(property(monitor), "/w/T20261209101500-64x48.png") << monitor.toStdString();
    EXPECT_EQ(property("/backdrop/screen0/zz-refusing/workspace0/last-image"), "/refused-earlier.png");
}

TEST_F(DesktopSettings, PlasmaIsGivenTheFileAndXfceWithoutAPictureSaysSo)
{
    ASSERT_TRUE(setKdeWallpaper(m_path, "/w/a b.png").ok);
    QFile arguments(m_folder.filePath("plasma-args"));
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
    EXPECT_EQ(arguments.readAll(), "/w/a b.png\n");

    const Result<> none = setXfceWallpaper(m_path, "/w/a.png");
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.message, "Xfce's desktop has no picture to replace");
}

} // namespace
} // namespace mandalix
