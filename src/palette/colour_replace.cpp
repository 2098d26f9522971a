#include "palette/colour_replace.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace mandalix {

void PickColour(WindowState& s, const Surface& picture3, int x, int y)
{
    const Colour picked = picture3.Point(x, y);
    // The border is no colour: taking it would make the next replacement erase nothing
    // but still cost the user the colour picked before.
    if (isColour(picked))
        s.color = picked;
}

ColourMap::ColourMap(const std::vector<ColourReplacement>& replacements)
{
    // The colours each colour now stands for: moving a group is a merge of two lists, so
    // a colour is copied about log n times however often it moves.
    std::unordered_map<Colour, std::vector<Colour>> standsFor;
    std::unordered_set<Colour> moved; // colours that left their own group once
    for (const ColourReplacement& replacement : replacements) {
        if (replacement.from == replacement.to)
            continue;
        std::vector<Colour> moving;
        if (const auto group = standsFor.find(replacement.from); group != standsFor.end()) {
            moving = std::move(group->second);
            standsFor.erase(group);
        }
        // A colour not moved before still has itself.
        if (moved.insert(replacement.from).second)
            moving.push_back(replacement.from);
        if (moving.empty())
            continue;
        std::vector<Colour>& target = standsFor[replacement.to];
        if (target.size() < moving.size())
            std::swap(target, moving);
        target.insert(target.end(), moving.begin(), moving.end());
    }
    for (const auto& [now, colours] : standsFor)
        for (const Colour colour : colours)
            if (colour != now)
                m_changes.emplace_back(colour, now);
    std::sort(m_changes.begin(), m_changes.end());
}

Colour ColourMap::lookUp(Colour colour) const
{
    const auto found = std::lower_bound(m_changes.begin(), m_changes.end(), colour,
                                        [](const auto& change, Colour c) { return change.first < c; });
    return found != m_changes.end() && found->first == colour ? found->second : colour;
}

QRgb ColourMap::argb(QRgb argb) const
{
    const Colour colour = fromArgb(argb);
    const Colour mapped = (*this)(colour);
    return mapped == colour ? argb : ((argb & 0xFF000000u) | (toArgb(mapped) & 0x00FFFFFFu));
}

void ColourMap::mapTable(QList<QRgb>& table, qsizetype count) const
{
    const qsizetype end = count < 0 ? table.size() : std::min(count, table.size());
    for (qsizetype k = 0; k < end; ++k)
        table[k] = argb(table[k]);
}

namespace {

// The scan: `i` = 0..`sir` (outer), `j` = 0..`vis` (inner), each pixel taking the colour
// `mapped` gives it. Outside the drawing area the read is no colour and PSet ignores the
// position.
template <typename Mapping>
void scanPicture(WindowState& s, Surface& picture1, Mapping mapped)
{
    for (s.i = 0; s.i <= s.sir; s.i = s.i + 1) {
        for (s.j = 0; s.j <= s.vis; s.j = s.j + 1) {
            const int column = static_cast<int>(s.i);
            const int row = static_cast<int>(s.j);
            const Colour colour = picture1.Point(column, row);
            if (const Colour to = mapped(colour); to != colour)
                picture1.PSet(column, row, to);
        }
    }
}

} // namespace

void replaceColours(WindowState& s, Surface& picture1, const std::vector<ColourReplacement>& replacements)
{
    if (replacements.empty())
        return;
    const ColourMap map(replacements);
    // A press makes one change: held in registers, the scan costs what a compare costs.
    if (map.changes().size() == 1) {
        const Colour from = map.changes().front().first;
        const Colour to = map.changes().front().second;
        scanPicture(s, picture1, [from, to](Colour colour) { return colour == from ? to : colour; });
        return;
    }
    scanPicture(s, picture1, [&map](Colour colour) { return map(colour); });
}

std::optional<ColourReplacement> ReplaceColour(WindowState& s, Surface& picture1, int x, int y)
{
    // Captured once, so pixels already rewritten are never matched again and the result
    // does not depend on the scan order.
    const ColourReplacement replacement{picture1.Point(x, y), s.color};
    replaceColours(s, picture1, {replacement});
    if (!isColour(replacement.from) || replacement.from == replacement.to)
        return std::nullopt;
    return replacement;
}

} // namespace mandalix
