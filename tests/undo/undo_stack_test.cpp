#include "undo/undo_stack.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

// A step told apart by its name alone.
PictureStep stepNamed(int n)
{
    PictureStep step;
    step.picture.imeslike = QString::number(n);
    return step;
}

int nameOf(const PictureStep* step) { return step ? step->picture.imeslike.toInt() : -1; }

TEST(UndoStack_Limits, KeepsAHundredStepsBackAndDropsTheOldestFirst)
{
    UndoStack steps;
    for (int n = 0; n <= 105; ++n)
        steps.push(stepNamed(n));
    EXPECT_EQ(steps.size(), kUndoSteps + 1);
    int undone = 0;
    while (const PictureStep* step = steps.undo()) {
        ++undone;
        EXPECT_EQ(nameOf(step), 105 - undone);
    }
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(nameOf(steps.current()), 5) << "the oldest kept is the 100th before the newest";
    EXPECT_EQ(steps.undo(), nullptr);
    EXPECT_EQ(nameOf(steps.current()), 5) << "an undo with nothing before changes nothing";
}

TEST(UndoStack_Redo, WalksBackAndForthAndIsDroppedByANewStep)
{
    UndoStack steps(3);
    EXPECT_EQ(steps.current(), nullptr);
    EXPECT_EQ(steps.undo(), nullptr);
    EXPECT_EQ(steps.redo(), nullptr);
    for (int n = 1; n <= 3; ++n)
        steps.push(stepNamed(n));
    EXPECT_EQ(steps.redo(), nullptr);
    EXPECT_EQ(nameOf(steps.undo()), 2);
    EXPECT_EQ(nameOf(steps.undo()), 1);
    EXPECT_EQ(nameOf(steps.redo()), 2);

    steps.push(stepNamed(4));
    EXPECT_FALSE(steps.canRedo()) << "the step after the one undone to is gone";
    EXPECT_EQ(steps.size(), 3u);
    EXPECT_EQ(nameOf(steps.undo()), 2);
    EXPECT_EQ(nameOf(steps.undo()), 1);
    EXPECT_EQ(nameOf(steps.redo()), 2);
    EXPECT_EQ(nameOf(steps.redo()), 4);
}

} // namespace
} // namespace mandalix
