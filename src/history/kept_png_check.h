// The check a kept picture's bytes pass before the image library reads them: every chunk
// within the file with its checksum right, only the chunks the history writes, and the
// compressed pixels and texts whole. The image library then never has cause to speak on
// standard error, nor to allocate what a damaged length says. Pure; any thread.
#pragma once

#include <QByteArray>
#include <QString>

namespace mandalix {

// Why `png` (a file that begins with the PNG signature) is no sound kept picture, or an
// empty text when it is: "the checksum of a IDAT chunk is wrong", "a chunk runs past the
// end of the file", "its pixels are cut short", ...
QString keptPngDamage(const QByteArray& png);

} // namespace mandalix
