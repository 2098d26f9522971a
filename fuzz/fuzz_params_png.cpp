// Any bytes as a PNG that may carry a parameters text: the chunk walk and the JSON
// behind it answer, never crash.
#include "output/params_file.h"
#include "output/png_text.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    const mandalix::Result<QByteArray> text =
        mandalix::pngText(device, mandalix::kParamsTextKey, mandalix::kParamsFileMaxBytes);
    if (text.ok && text.value.size() > mandalix::kParamsFileMaxBytes)
        __builtin_trap();
    if (text.ok)
        (void)mandalix::paramsFromJson(text.value);
    return 0;
}
