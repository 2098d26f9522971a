#include "app/slide_show_options.h"

#include "app/one_line.h"

#include <algorithm>
#include <cmath>

namespace mandalix {

namespace {

using Options = Result<SlideShowOptions>;

Result<std::chrono::milliseconds> intervalOf(const QString& text)
{
    bool isNumber = false;
    const double seconds = text.trimmed().toDouble(&isNumber);
    if (!isNumber || !(seconds > 0) || seconds > kMaxSlideIntervalSeconds)
        return Result<std::chrono::milliseconds>::failure(
            QStringLiteral("mandalix: --interval takes a number of seconds above 0 and at most %1, not \"%2\"")
                .arg(kMaxSlideIntervalSeconds)
                .arg(oneLine(text)));
    return Result<std::chrono::milliseconds>::success(
        std::chrono::milliseconds(std::max(1LL, std::llround(seconds * 1000))));
}

} // namespace

Options slideShowOptions(const QStringList& arguments)
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
            continue;
        }
        const bool isSeparate = argument == kInterval;
        if (!isSeparate && !argument.startsWith(kInterval + u'='))
            continue;
        if (isSeparate && k + 1 >= arguments.size())
            return Options::failure(QStringLiteral("mandalix: --interval needs a number of seconds"));
        const auto interval = intervalOf(isSeparate ? arguments[++k] : argument.mid(kInterval.size() + 1));
        if (!interval.ok)
            return Options::failure(interval.message);
        options.interval = interval.value;
    }
    return Options::success(options);
}

} // namespace mandalix
