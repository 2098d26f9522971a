// The generations a user walks through in the variations view: a grid of side x side
// cells, one the parent and the others its children, or a grid of two parents' bred
// children. A click on a child makes it the parent of the next generation, "back" returns
// to the generation before, "new directions" draws new children of the same parent; the
// strength, the locks and the grid's side remake the generation on show. Each generation
// is numbered, so cells painted for an older one are known as stale. A plain value for
// one thread (the GUI's); nothing fails: a walk to a cell that is not a child is refused.
#pragma once

#include "state/picture_record.h"
#include "variations/locks.h"
#include "variations/mutation.h"

#include <functional>
#include <vector>

namespace mandalix {

inline constexpr int kMinGridSide = 2;
inline constexpr int kMaxGridSide = 5;
inline constexpr int kDefaultGridSide = 3;

struct Generation {
    enum class Kind { Mutation, Breeding };
    Kind kind = Kind::Mutation;
    int number = 0;            // counts up over the walk; a remade generation is a new number
    PictureRecord parent;      // breeding: the first parent
    PictureRecord otherParent; // breeding: the second parent
    float seed = 0;            // mutation: the children's seed
    double strength = kDefaultStrength;
    Locks locks;
    int side = kDefaultGridSide;
    std::vector<PictureRecord> cells; // row by row
    int parentIndex = -1;             // the parent's cell; -1 for bred children

    bool isChild(int index) const
    {
        return index >= 0 && index < static_cast<int>(cells.size()) && index != parentIndex;
    }
};

// The parent's cell in a grid of `side`: the centre, or for an even side the cell above
// and left of it.
constexpr int parentCellOf(int side) { return (side - 1) / 2 * side + (side - 1) / 2; }

class VariationWalk {
public:
    // `nextSeed` gives each new set of children its seed.
    explicit VariationWalk(std::function<float()> nextSeed);

    // A new walk from `parent`, forgetting the generations before.
    void start(const PictureRecord& parent);
    // A new walk from the children bred of `a` and `b` (nine, on a grid of 3).
    void breed(const PictureRecord& a, const PictureRecord& b);
    // The child at `index` becomes the parent of a new generation; false (and nothing
    // changes) when the cell is no child.
    bool walkTo(int index);
    // Back to the generation before; false when there is none.
    bool back();
    // New children of the same parent (or the same two parents' children again).
    void newDirections();
    // Remake the generation on show with another strength (clamped), locks or side
    // (clamped to kMinGridSide..kMaxGridSide), keeping its seed; bred children stay.
    void setStrength(double strength);
    void setLocks(Locks locks);
    void setSide(int side);

    bool hasStarted() const { return !m_generations.empty(); }
    bool canGoBack() const { return m_generations.size() > 1; }
    // Requires hasStarted().
    const Generation& current() const { return m_generations.back(); }
    double strength() const { return m_strength; }
    Locks locks() const { return m_locks; }
    int side() const { return m_side; }

private:
    Generation mutation(const PictureRecord& parent, float seed) const;
    void push(Generation generation);
    void remake();

    std::function<float()> m_nextSeed;
    std::vector<Generation> m_generations; // the first is the walk's start
    double m_strength = kDefaultStrength;
    Locks m_locks;
    int m_side = kDefaultGridSide;
    int m_numbers = 0;
};

} // namespace mandalix
