#include "output/image_name.h"

#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

QDateTime at(int year, int month, int day, int hour, int minute, int second, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms));
}

TEST(ImageName_For, ZeroPadsEveryFieldInOrder)
{
    struct Row {
        const char* name;
        QDateTime moment;
        const char* expected;
    };
    const Row rows[] = {
        {"single-digit month, hour, minute, second", at(2027, 2, 3, 9, 5, 7), "T20270203090507"},
        {"evening in December", at(2026, 12, 7, 20, 3, 2), "T20261207200302"},
        {"midnight on the first", at(2030, 1, 1, 0, 0, 0), "T20300101000000"},
        {"milliseconds dropped, not rounded", at(2026, 12, 31, 23, 59, 59, 999),
         "T20261231235959"},
        {"early year", at(987, 6, 5, 4, 3, 2), "T09870605040302"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = imageNameFor(row.moment);
        EXPECT_EQ(name, QString::fromLatin1(row.expected));
        EXPECT_EQ(name.size(), 15);
    }
}

TEST(ImageName_For, IgnoresTheLocale)
{
    const QLocale before;
    // Arabic in Egypt writes its own digits; a name built through the locale would show them.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const QString name = imageNameFor(at(2027, 2, 3, 9, 5, 7));
    QLocale::setDefault(before);
    EXPECT_EQ(name, QStringLiteral("T20270203090507"));
}

} // namespace
} // namespace mandalix
