#include "undo/step_commands.h"

#include "palette/palette_strip.h"
#include "program/picture_replay.h"
#include "program/record_painting.h"

namespace mandalix {

namespace {

// The step on show gives way to `next`: when that is another picture, the history keeps
// the one going as it stands.
void keepWhenReplaced(Session& session, const PictureStep& next)
{
    const PictureStep* shown = session.steps.current();
    if (session.history && shown && !isSamePicture(shown->picture, next.picture))
        session.history->keep(shown->picture, shown->kept);
}

void showStep(Session& session, const PictureStep& step)
{
    showPixels(session.surfaces.Picture1, unpackPixels(step.picture1));
    paintPaletteStrip(step.strip, session.state, session.surfaces.Picture3);
    session.picture = step.picture;
    session.strip = step.strip;
    setPictureState(session.state, step.picture);
}

} // namespace

namespace {

// The picture's own pixels after `command`, for the history: Picture1 itself after a
// command that paints a picture, the step's before when the record stayed the same (the
// help panel, a new strip), Picture1 again after a recolouring of the picture, and only
// for a recolouring over the help panel the record painted afresh.
QByteArray keptPngOf(const Command& command, const PictureStep* shown, const PictureStep& step)
{
    if (paintsAPicture(command) || std::holds_alternative<cmd::RestoreKept>(command))
        return step.picture1;
    if (shown && shown->picture == step.picture)
        return shown->kept;
    if (shown ? shown->showsItsPicture() : !std::holds_alternative<cmd::Help>(command))
        return step.picture1;
    return paintKeptPng(step.picture);
}

} // namespace

void recordStep(Session& session, const Command& command)
{
    PictureStep step = captureStep(session.surfaces, session.picture, session.strip);
    const PictureStep* shown = session.steps.current();
    step.kept = keptPngOf(command, shown, step);
    if (shown && *shown == step)
        return;
    keepWhenReplaced(session, step);
    session.steps.push(std::move(step));
}

namespace {

// Moves along the steps (`move` is undo or redo of the stack) and shows the step arrived
// at; the picture that gives way is kept when it is another.
template <typename Move> CommandResult moveStep(Session& session, bool canMove, Move move)
{
    if (!canMove)
        return {};
    const PictureStep going = *session.steps.current();
    const PictureStep& arrived = *move();
    if (session.history && !isSamePicture(going.picture, arrived.picture))
        session.history->keep(going.picture, going.kept);
    showStep(session, arrived);
    return {};
}

} // namespace

CommandResult undoStep(Session& session)
{
    return moveStep(session, session.steps.canUndo(), [&] { return session.steps.undo(); });
}

CommandResult redoStep(Session& session)
{
    return moveStep(session, session.steps.canRedo(), [&] { return session.steps.redo(); });
}

CommandResult restoreKept(Session& session, const QString& path)
{
    if (!session.history)
        return {};
    Result<KeptPicture> read = session.history->readKept(path);
    if (!read.ok)
        return {CommandResult::Kind::Error, read.message};
    showPixels(session.surfaces.Picture1, read.value.pixels);
    paintPaletteStrip(read.value.record.palette, session.state, session.surfaces.Picture3);
    session.strip = read.value.record.palette;
    session.picture = std::move(read.value.record);
    setPictureState(session.state, session.picture);
    return {};
}

void keepShownPicture(Session& session)
{
    if (session.history && session.steps.current())
        session.history->keep(session.steps.current()->picture, session.steps.current()->kept);
}

CommandResult runCommand(Session& session, const Command& command, Pacer& pacer)
{
    if (std::holds_alternative<cmd::Undo>(command))
        return undoStep(session);
    if (std::holds_alternative<cmd::Redo>(command))
        return redoStep(session);
    const auto* kept = std::get_if<cmd::RestoreKept>(&command);
    CommandResult result = kept ? restoreKept(session, kept->path)
                                : runCommand(static_cast<Program&>(session), command, pacer);
    if (isStep(command) && !result.isStopped && result.kind != CommandResult::Kind::Error)
        recordStep(session, command);
    return result;
}

} // namespace mandalix
