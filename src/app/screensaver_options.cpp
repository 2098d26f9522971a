#include "app/screensaver_options.h"

#include "app/one_line.h"

namespace mandalix {

namespace {

using Options = Result<ScreensaverOptions>;

int digitOf(QChar c, int base)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (base == 16 && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (base == 16 && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

Result<std::uint32_t> windowIdOf(const QString& text)
{
    const bool isHex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const int base = isHex ? 16 : 10;
    const QStringView digits = QStringView(text).mid(isHex ? 2 : 0);
    if (digits.isEmpty())
        return Result<std::uint32_t>::failure({});
    std::uint64_t id = 0;
    for (const QChar c : digits) {
        const int digit = digitOf(c, base);
        if (digit < 0)
            return Result<std::uint32_t>::failure({});
        id = id * base + static_cast<std::uint64_t>(digit);
        if (id > kMaxWindowId)
            return Result<std::uint32_t>::failure({});
    }
    if (id == 0)
        return Result<std::uint32_t>::failure({});
    return Result<std::uint32_t>::success(static_cast<std::uint32_t>(id));
}

Options screensaverOptions(const QStringList& arguments, const QString& windowVariable)
{
    static const QString kWindowId = QStringLiteral("--window-id");
    ScreensaverOptions options;
    QString windowId;
    bool hasWindowId = false;
    for (qsizetype k = 0; k < arguments.size(); ++k) {
        const QString& argument = arguments[k];
        if (argument == QLatin1String("--"))
            break;
        if (argument == QLatin1String("--screensaver"))
            options.isScreensaver = true;
        else if (argument == QLatin1String("--root"))
            options.isRoot = true;
        else if (argument == kWindowId && k + 1 >= arguments.size())
            return Options::failure(QStringLiteral("mandalix: --window-id needs a window's number"));
        else if (argument == kWindowId || argument.startsWith(kWindowId + u'=')) {
            hasWindowId = true;
            windowId = argument == kWindowId ? arguments[++k] : argument.mid(kWindowId.size() + 1);
        }
    }
    if (!options.isScreensaver)
        return Options::success({});
    const QString& named = hasWindowId ? windowId : windowVariable;
    if (hasWindowId || !windowVariable.isEmpty()) {
        const Result<std::uint32_t> id = windowIdOf(named);
        if (!id.ok)
            return Options::failure(
                QStringLiteral("mandalix: %1 an X window's number (decimal, or hex after 0x), not \"%2\"")
                    .arg(hasWindowId ? QStringLiteral("--window-id takes") : QStringLiteral("$XSCREENSAVER_WINDOW holds"),
                         oneLine(named)));
        options.isRoot = false;
        options.windowId = id.value;
    } else if (!options.isRoot) {
        return Options::failure(
            QStringLiteral("mandalix: --screensaver needs a window: --root, --window-id ID or $XSCREENSAVER_WINDOW"));
    }
    return Options::success(options);
}

} // namespace mandalix
