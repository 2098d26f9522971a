#include "program/record_painting.h"

#include "generator/pacer.h"
#include "generator/rnd.h"
#include "output/picture_png_bytes.h"
#include "program/picture_replay.h"
#include "program/surfaces.h"
#include "state/window_state.h"

#include <memory>

namespace mandalix {

bool paintRecordFromStart(const PictureRecord& record, Surfaces& surfaces, Pacer& pacer)
{
    WindowState s;
    setStartUpDefaults(s, record.nac);
    Rnd rnd;
    return paintRecordedPicture(s, surfaces, rnd, record, pacer);
}

QImage paintRecordAtWindowSize(const PictureRecord& record)
{
    // On the heap: four rasters are too large for a worker thread's stack.
    auto surfaces = std::make_unique<Surfaces>();
    paintRecordFromStart(record, *surfaces, noPacing());
    return surfaces->Picture1.image().convertToFormat(QImage::Format_RGB32);
}

QByteArray paintKeptPng(const PictureRecord& record)
{
    return encodePicturePng(paintRecordAtWindowSize(record), record);
}

} // namespace mandalix
