// Any command line of the window (arguments separated by NUL bytes, the program's name
// first): an answer, never a crash. A refusal is one line, an interval the window would
// use lies in its bounds, a screensaver paints into the root or one window of X's
// numbers, and what follows "--" is a picture's name, never an option.
#include "fuzz_arguments.h"
#include "app/command_line.h"
#include "app/screensaver_options.h"
#include "app/slide_show_options.h"

#include <cstddef>
#include <cstdint>

namespace {

bool isOneLine(const QString& text) { return !text.isEmpty() && !text.contains(u'\n') && !text.contains(u'\r'); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList arguments = mandalix::fuzz::argumentsOf(data, size);

    const mandalix::CommandLine line = mandalix::readCommandLine(arguments);
    if (line.action == mandalix::CommandLine::Action::Fail && !isOneLine(line.text))
        __builtin_trap();
    if (line.action == mandalix::CommandLine::Action::Print && line.text.isEmpty())
        __builtin_trap();
    if (line.action != mandalix::CommandLine::Action::Run && (!line.file.isEmpty() || !line.keepsHistory))
        __builtin_trap();

    const QStringList options = arguments.mid(1);
    const mandalix::Result<mandalix::SlideShowOptions> slideShow = mandalix::slideShowOptions(options);
    if (!slideShow.ok && !isOneLine(slideShow.message))
        __builtin_trap();
    if (slideShow.ok
        && (slideShow.value.interval.count() <= 0
            || slideShow.value.interval.count() > mandalix::kMaxSlideIntervalSeconds * 1000))
        __builtin_trap();
    // The last argument stands for $XSCREENSAVER_WINDOW too.
    const mandalix::Result<mandalix::ScreensaverOptions> saver
        = mandalix::screensaverOptions(options, options.isEmpty() ? QString() : options.back());
    if (!saver.ok && !isOneLine(saver.message))
        __builtin_trap();
    if (saver.ok && saver.value.isScreensaver
        && saver.value.isRoot == (saver.value.windowId >= 1 && saver.value.windowId <= mandalix::kMaxWindowId))
        __builtin_trap();
    const qsizetype end = options.indexOf(QStringLiteral("--"));
    if (end >= 0) {
        const mandalix::Result<mandalix::SlideShowOptions> before = mandalix::slideShowOptions(options.first(end));
        if (before.ok != slideShow.ok || before.value.isSlideShow != slideShow.value.isSlideShow
            || before.value.interval != slideShow.value.interval)
            __builtin_trap();
    }
    return 0;
}
