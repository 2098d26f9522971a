#include "program/step_commands.h"

#include "palette/palette_strip.h"
#include "program/history_folder.h"
#include "program/picture_history.h"

namespace mandalix {

namespace {

// The step on show gives way to `next`: when that is another picture, the history keeps
// the one going as it stands.
void keepWhenReplaced(Program& program, const PictureStep& next)
{
    const PictureStep* shown = program.steps.current();
    if (program.history && shown && !isSamePicture(shown->picture, next.picture))
        program.history->keep(shown->picture);
}

void showStep(Program& program, const PictureStep& step)
{
    showPixels(program.surfaces.Picture1, unpackPixels(step.picture1));
    showPixels(program.surfaces.Picture3, unpackPixels(step.picture3));
    program.picture = step.picture;
    program.strip = step.strip;
    setPictureState(program.state, step.picture);
}

} // namespace

void recordStep(Program& program)
{
    PictureStep step = captureStep(program.surfaces, program.picture, program.strip);
    const PictureStep* shown = program.steps.current();
    if (shown && *shown == step)
        return;
    keepWhenReplaced(program, step);
    program.steps.push(std::move(step));
}

namespace {

// Moves along the steps (`move` is undo or redo of the stack) and shows the step arrived
// at; the picture that gives way is kept when it is another.
template <typename Move> CommandResult moveStep(Program& program, bool canMove, Move move)
{
    if (!canMove)
        return {};
    const PictureStep going = *program.steps.current();
    const PictureStep& arrived = *move();
    if (program.history && !isSamePicture(going.picture, arrived.picture))
        program.history->keep(going.picture);
    showStep(program, arrived);
    return {};
}

} // namespace

CommandResult undoStep(Program& program)
{
    return moveStep(program, program.steps.canUndo(), [&] { return program.steps.undo(); });
}

CommandResult redoStep(Program& program)
{
    return moveStep(program, program.steps.canRedo(), [&] { return program.steps.redo(); });
}

CommandResult restoreKept(Program& program, const QString& path)
{
    KeptRead read = readKeptPicture(path);
    if (!read.ok)
        return {CommandResult::Kind::Error, read.message};
    showPixels(program.surfaces.Picture1, read.value.pixels);
    paintPaletteStrip(read.value.record.palette, program.state, program.surfaces.Picture3);
    program.strip = read.value.record.palette;
    program.picture = std::move(read.value.record);
    setPictureState(program.state, program.picture);
    return {};
}

void keepShownPicture(Program& program)
{
    if (program.history && program.steps.current())
        program.history->keep(program.steps.current()->picture);
}

} // namespace mandalix
