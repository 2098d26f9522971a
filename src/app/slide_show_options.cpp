#include "app/slide_show_options.h"

#include "app/one_line.h"

#include <algorithm>
#include <cmath>

namespace mandalix {

namespace {

bool readInterval(const QString& text, SlideShowOptions& options)
{
    bool isNumber = false;
    const double seconds = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !(seconds > 0) || seconds > kMaxSlideIntervalSeconds) {
        options.ok = false;
        options.error = QStringLiteral("mandalix: --interval takes a number of seconds above 0 "
                                       "and at most %1, not \"%2\"")
                            .arg(kMaxSlideIntervalSeconds)
                            .arg(oneLine(text));
        return false;
    }
    options.interval = std::chrono::milliseconds(std::max(1LL, std::llround(seconds * 1000)));
    return true;
}

} // namespace

SlideShowOptions slideShowOptions(const QStringList& arguments)
{
    static const QString kInterval = QStringLiteral("--interval");
    SlideShowOptions options;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString& argument = arguments[k];
        // As for Qt's parser of the same line, what follows "--" is a picture's name.
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--slideshow")) {
            options.isSlideShow = true;
        } else if (argument == kInterval) {
            if (k + 1 >= arguments.size()) {
                options.ok = false;
                options.error = QStringLiteral("mandalix: --interval needs a number of seconds");
                return options;
            }
            if (!readInterval(arguments[++k], options))
                return options;
        } else if (argument.startsWith(kInterval + u'=')) {
            if (!readInterval(argument.mid(kInterval.size() + 1), options))
                return options;
        }
    }
    return options;
}

} // namespace mandalix
