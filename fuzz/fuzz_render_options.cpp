// Any command line of mandalix-render (arguments separated by NUL bytes): an answer,
// never a crash; a refusal is one line.
#include "fuzz_arguments.h"
#include "render_options.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList arguments = mandalix::fuzz::argumentsOf(data, size);
    const mandalix::ParsedOptions parsed = mandalix::parseRenderOptions(arguments);
    if (!parsed.ok && parsed.message.isEmpty())
        __builtin_trap();
    return 0;
}
