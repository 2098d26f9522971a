// Any command line of mandalix-render (arguments separated by NUL bytes): an answer,
// never a crash; a refusal is one line.
#include "render_options.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList arguments;
    for (const QByteArray& argument : bytes.split('\0'))
        arguments << QString::fromUtf8(argument);
    const mandalix::ParsedOptions parsed = mandalix::parseRenderOptions(arguments);
    if (!parsed.ok && parsed.message.isEmpty())
        __builtin_trap();
    return 0;
}
