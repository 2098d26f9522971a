// Messages for standard error quote what the user typed, which may hold a line break or
// a terminal's control characters; written through oneLine() each stays one plain line.
// A pure function, any thread; it cannot fail.
#pragma once

#include <QString>

namespace mandalix {

// The text with every character that is not printable (line and paragraph breaks, tabs,
// escapes, other controls and format characters) written as \n, \r, \t or \u followed by
// its four hex digits, so the text takes one line on any terminal and shows what it held.
QString oneLine(const QString& text);

} // namespace mandalix
