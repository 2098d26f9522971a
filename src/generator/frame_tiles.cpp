#include "generator/frame_tiles.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace mandalix {

namespace {

std::uint64_t keyOf(double v) { return std::bit_cast<std::uint64_t>(std::fabs(v)); }

} // namespace

void PositionsByKey::build(const std::vector<int>& keyOf, int keys)
{
    start.assign(static_cast<std::size_t>(keys) + 1, 0);
    for (int key : keyOf)
        ++start[static_cast<std::size_t>(key) + 1];
    for (int k = 0; k < keys; ++k)
        start[static_cast<std::size_t>(k) + 1] += start[static_cast<std::size_t>(k)];
    list.resize(keyOf.size());
    std::vector<int> next(start.begin(), start.end() - 1);
    for (std::size_t position = 0; position < keyOf.size(); ++position)
        list[static_cast<std::size_t>(next[static_cast<std::size_t>(keyOf[position])]++)] = static_cast<int>(position);
}

qsizetype PositionsByKey::countOfBlock(int first) const
{
    const int keys = static_cast<int>(start.size()) - 1;
    return start[static_cast<std::size_t>(std::min(first + kTileKeys, keys))] - start[static_cast<std::size_t>(first)];
}

// Gives every coordinate the index of its |value| among the distinct ones: equal bit
// patterns of |x| and |y| give equal distances, so only those share terms.
FrameTiles::FrameTiles(std::vector<double> columnXs, std::vector<double> rowYs)
    : xs(std::move(columnXs)), ys(std::move(rowYs))
{
    std::vector<std::uint64_t> sorted;
    sorted.reserve(xs.size() + ys.size());
    for (double v : xs)
        sorted.push_back(keyOf(v));
    for (double v : ys)
        sorted.push_back(keyOf(v));
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const auto indexOf = [&](double v) {
        return static_cast<int>(std::lower_bound(sorted.begin(), sorted.end(), keyOf(v)) - sorted.begin());
    };
    for (double v : xs)
        columnKeys.push_back(indexOf(v));
    for (double v : ys)
        rowKeys.push_back(indexOf(v));
    const int count = static_cast<int>(sorted.size());
    columnsOf.build(columnKeys, count);
    rowsOf.build(rowKeys, count);
    for (std::uint64_t key : sorted)
        absolute.push_back(std::bit_cast<double>(key));
    for (int first = 0; first < count; first += kTileKeys) {
        const int last = std::min(first + kTileKeys, count);
        std::vector<int> columns(columnsOf.list.begin() + columnsOf.start[static_cast<std::size_t>(first)],
                                 columnsOf.list.begin() + columnsOf.start[static_cast<std::size_t>(last)]);
        std::sort(columns.begin(), columns.end());
        blockColumns.push_back(std::move(columns));
    }
    qsizetype pixels = 0;
    for (int b = 0; b < count; b += kTileKeys) {
        for (int a = 0; a <= b; a += kTileKeys) {
            tiles.push_back({a, b, pixels});
            pixels += rowsOf.countOfBlock(b) * columnsOf.countOfBlock(a);
            if (a != b)
                pixels += rowsOf.countOfBlock(a) * columnsOf.countOfBlock(b);
        }
    }
}

} // namespace mandalix
