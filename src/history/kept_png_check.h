// The check a kept picture's bytes pass before the image library reads them: every chunk
// within the file with its checksum right, only the chunks the history writes, and the
// compressed pixels and texts whole. The image library then never has cause to speak on
// standard error, nor to allocate what a damaged length says. Pure; any thread; the
// damage found comes back as the result's message.
#pragma once

#include "base/result.h"

#include <QByteArray>

namespace mandalix {

// Whether `png` (a file that begins with the PNG signature) is a sound kept picture; when
// !ok the message says why not: "the checksum of a IDAT chunk is wrong", "a chunk runs past the
// end of the file", "its pixels are cut short", ...
Result<> checkKeptPng(const QByteArray& png);

} // namespace mandalix
