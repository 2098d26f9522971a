#include "app/one_line.h"

namespace mandalix {

QString oneLine(const QString& text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        // A character beyond the first plane comes as a pair of surrogates, printable as one.
        if (c.isHighSurrogate() && k + 1 < text.size() && text[k + 1].isLowSurrogate()
            && QChar::isPrint(QChar::surrogateToUcs4(c, text[k + 1]))) {
            line += c;
            line += text[++k];
            continue;
        }
        if (c.isPrint() && c != QChar::LineSeparator && c != QChar::ParagraphSeparator) {
            line += c;
            continue;
        }
        switch (c.unicode()) {
        case u'\n': line += QLatin1String("\\n"); break;
        case u'\r': line += QLatin1String("\\r"); break;
        case u'\t': line += QLatin1String("\\t"); break;
        default: line += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return line;
}

} // namespace mandalix
