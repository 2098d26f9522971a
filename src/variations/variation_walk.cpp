#include "variations/variation_walk.h"

#include "variations/breeding.h"
#include "variations/mutation.h"

#include <algorithm>

namespace mandalix {

VariationWalk::VariationWalk(std::function<float()> nextSeed)
    : m_nextSeed(std::move(nextSeed))
{
}

Generation VariationWalk::mutation(const PictureRecord& parent, float seed) const
{
    Generation generation;
    generation.parent = parent;
    generation.seed = seed;
    generation.strength = m_strength;
    generation.locks = m_locks;
    generation.side = m_side;
    generation.parentIndex = parentCellOf(m_side);
    std::vector<PictureRecord> made = children(parent, m_side * m_side - 1, seed, m_strength, m_locks);
    made.insert(made.begin() + generation.parentIndex, parent);
    generation.cells = std::move(made);
    return generation;
}

void VariationWalk::push(Generation generation)
{
    generation.number = ++m_numbers;
    m_generations.push_back(std::move(generation));
}

void VariationWalk::start(const PictureRecord& parent)
{
    m_generations.clear();
    push(mutation(parent, m_nextSeed()));
}

void VariationWalk::breed(const PictureRecord& a, const PictureRecord& b)
{
    m_generations.clear();
    Generation generation;
    generation.kind = Generation::Kind::Breeding;
    generation.parent = a;
    generation.otherParent = b;
    generation.side = 3;
    generation.cells = mandalix::breed(a, b);
    push(std::move(generation));
}

bool VariationWalk::walkTo(int index)
{
    if (!hasStarted() || !current().isChild(index))
        return false;
    push(mutation(current().cells[static_cast<std::size_t>(index)], m_nextSeed()));
    return true;
}

bool VariationWalk::back()
{
    if (!canGoBack())
        return false;
    m_generations.pop_back();
    return true;
}

void VariationWalk::newDirections()
{
    if (!hasStarted())
        return;
    if (current().kind == Generation::Kind::Breeding) {
        Generation again = current();
        push(std::move(again));
        return;
    }
    push(mutation(current().parent, m_nextSeed()));
}

void VariationWalk::setStrength(double strength)
{
    m_strength = clampStrength(strength).value;
    remake();
}

void VariationWalk::setLocks(Locks locks)
{
    m_locks = locks;
    remake();
}

void VariationWalk::setSide(int side)
{
    m_side = std::clamp(side, kMinGridSide, kMaxGridSide);
    remake();
}

void VariationWalk::remake()
{
    if (!hasStarted() || current().kind == Generation::Kind::Breeding)
        return;
    Generation made = mutation(current().parent, current().seed);
    made.number = ++m_numbers;
    m_generations.back() = std::move(made);
}

} // namespace mandalix
