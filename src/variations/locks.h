// The groups of a picture's parameters that a variation can hold still, and a set of
// locked groups. The renderer's and the window's lock options name them. Plain values,
// safe on any thread; reading a name reports an unknown one as a failed Result.
#pragma once

#include "base/result.h"

#include <QString>

#include <cstdint>

namespace mandalix {

// In this order: formula (tip, barv), rings (n1..n4, f2), rays (f1), amplitudes
// (komp1..komp3), position (baf01..baf03), palette (the strip's waves).
enum class Group { Formula, Rings, Rays, Amplitudes, Position, Palette };

inline constexpr int kGroupCount = 6;

// The group's name as the lock options spell it: "formula", "rings", ...
QString groupName(Group group);

// The group a name spells, or a failure naming the groups there are.
Result<Group> parseGroup(const QString& name);

// A set of locked groups; a locked group never changes in a variation.
class Locks {
public:
    constexpr Locks() = default;

    static constexpr Locks all() { return Locks((1u << kGroupCount) - 1u); }

    constexpr bool isLocked(Group group) const { return (m_bits & bit(group)) != 0; }
    constexpr Locks with(Group group) const { return Locks(m_bits | bit(group)); }
    constexpr Locks without(Group group) const { return Locks(m_bits & ~bit(group)); }

    bool operator==(const Locks&) const = default;

private:
    constexpr explicit Locks(std::uint32_t bits) : m_bits(bits) {}
    static constexpr std::uint32_t bit(Group group) { return 1u << static_cast<int>(group); }

    std::uint32_t m_bits = 0;
};

} // namespace mandalix
