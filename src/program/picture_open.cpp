#include "program/picture_open.h"

#include "program/picture_replay.h"
#include "program/status_caption.h"
#include "surface/surface_sizes.h"

#include <QDir>
#include <QFileInfo>

namespace mandalix {

CommandResult openPicture(Program& program, const cmd::Open& open, Pacer& pacer)
{
    WindowState& s = program.state;
    Surfaces& surfaces = program.surfaces;
    program.strip = open.record.palette;
    program.picture = open.record;
    // A picture drawn elsewhere came into this window from its file; one that knows a
    // lineage of its own keeps it.
    if (program.picture.lineage.isDrawn())
        program.picture.lineage = Lineage::adoptedFrom(QFileInfo(open.path).fileName());
    const bool hasPixels = open.pixels.width() == kPictureSizePx && open.pixels.height() == kPictureSizePx;
    if (hasPixels) {
        beginRecordedPicture(s, surfaces, program.rnd, open.record);
        showPixels(surfaces.Picture1, open.pixels);
    } else if (!paintRecordedPicture(s, surfaces, program.rnd, open.record, pacer)) {
        return {};
    }
    ShowGenerationType(s, surfaces.Form1);
    return {CommandResult::Kind::Info,
            QStringLiteral("Opened %1").arg(QDir::toNativeSeparators(open.path))};
}

} // namespace mandalix
