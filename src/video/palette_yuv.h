// Palette indices, as the frame engine paints them, straight into 4:2:0 BT.709 YUV in the
// studio range: each colour of the table is converted once, then every pixel is a look-up
// and each 2x2 block's colour the mean of its four. Rows are shared out on the shared
// pool. Any thread; nothing fails.
#pragma once

#include "video/ffmpeg_handles.h"

#include <QImage>

namespace mandalix {

// Requires a Format_Indexed8 image of even sides and a writable AV_PIX_FMT_YUV420P frame
// of its size.
void indexedToYuv420(const QImage& indexed, AVFrame& frame);

} // namespace mandalix
