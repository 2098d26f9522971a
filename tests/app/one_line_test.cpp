#include "app/one_line.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

TEST(OneLine, WritesWhatWouldBreakOrHideTheLineAsEscapes)
{
    const struct {
        const char* name;
        QString text;
        QString line;
    } rows[] = {
        {"plain, spaces and accents kept", QStringLiteral("a b.png é"), QStringLiteral("a b.png é")},
        {"line breaks", QStringLiteral("a\nb\r\n"), QStringLiteral("a\\nb\\r\\n")},
        {"tab", QStringLiteral("a\tb"), QStringLiteral("a\\tb")},
        {"terminal escape", QStringLiteral("\x1b[2Jx"), QStringLiteral("\\u001b[2Jx")},
        {"line and paragraph separators", QString(QChar(0x2028)) + QChar(0x2029),
         QStringLiteral("\\u2028\\u2029")},
        {"a character beyond the first plane kept", QString::fromUtf8("\xf0\x9f\x98\x80"),
         QString::fromUtf8("\xf0\x9f\x98\x80")},
        {"a lone surrogate", QString(QChar(0xd83d)) + u'x', QStringLiteral("\\ud83dx")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(oneLine(row.text), row.line);
    }
}

} // namespace
} // namespace mandalix
