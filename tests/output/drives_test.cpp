#include "output/drives.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace mandalix {
namespace {

// Sets or clears one environment variable for the life of the guard, then restores it.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, std::optional<QByteArray> value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~EnvironmentVariable()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

#ifndef Q_OS_WIN

TEST(DrivesFromEnvironment, UsesTheVariablesWhenSet)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString c = tmp.filePath(QStringLiteral("drive c"));
    const QString d = tmp.filePath(QStringLiteral("drive-d"));
    EnvironmentVariable varC("MANDALIX_DRIVE_C", c.toLocal8Bit());
    EnvironmentVariable varD("MANDALIX_DRIVE_D", (d + QStringLiteral("/")).toLocal8Bit());

    const Drives drives = drivesFromEnvironment();
    EXPECT_EQ(drives.c, c);
    EXPECT_EQ(drives.d, d);
    EXPECT_FALSE(drives.createMissingD);
}

TEST(DrivesFromEnvironment, MakesRelativeFoldersAbsolute)
{
    EnvironmentVariable varC("MANDALIX_DRIVE_C", QByteArray("pictures/c"));
    EnvironmentVariable varD("MANDALIX_DRIVE_D", QByteArray("./d"));
    const Drives drives = drivesFromEnvironment();
    EXPECT_EQ(drives.c, QDir::currentPath() + QStringLiteral("/pictures/c"));
    EXPECT_EQ(drives.d, QDir::currentPath() + QStringLiteral("/d"));
}

TEST(DrivesFromEnvironment, FallsBackToHomeAndPicturesWhenUnsetOrEmpty)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    // A fresh home with no user-dirs file: the pictures folder is the standard one in it.
    EnvironmentVariable varHome("HOME", home.path().toLocal8Bit());
    EnvironmentVariable varConfig("XDG_CONFIG_HOME",
                                  home.filePath(QStringLiteral("config")).toLocal8Bit());
    const std::optional<QByteArray> unsetOrEmpty[] = {std::nullopt, QByteArray()};
    for (const auto& value : unsetOrEmpty) {
        SCOPED_TRACE(value ? "empty" : "unset");
        EnvironmentVariable varC("MANDALIX_DRIVE_C", value);
        EnvironmentVariable varD("MANDALIX_DRIVE_D", value);
        const Drives drives = drivesFromEnvironment();
        EXPECT_EQ(drives.c, home.path());
        EXPECT_EQ(drives.d, home.filePath(QStringLiteral("Pictures")));
        EXPECT_TRUE(drives.createMissingD);
    }
}

#endif

} // namespace
} // namespace mandalix
