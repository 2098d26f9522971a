// Any bytes as a parameters file's JSON: an answer, never a crash or a report.
#include "output/params_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const mandalix::ParamsRead read = mandalix::paramsFromJson(json);
    if (!read.ok && (read.message.isEmpty() || read.message.contains(u'\n')))
        __builtin_trap(); // every failure is one line
    return 0;
}
