// How the frame engine shares the terms of a distance: every column and row of a frame
// gets the key of its |coordinate| among the distinct ones, and the pairs of keys are cut
// into tiles of kTileKeys by kTileKeys, each painted by one thread with the terms of its
// pairs worked out once. Internal to the engine; built on one thread, then read-only.
#pragma once

#include <QtGlobal>

#include <algorithm>

#include <cstddef>
#include <utility>
#include <vector>

namespace mandalix {

// Distances a tile spans on each of its two sides.
inline constexpr int kTileKeys = 32;

// The positions (columns or output rows) of each distinct |coordinate|, by key.
struct PositionsByKey {
    std::vector<int> start; // positions of key k: list[start[k]] .. list[start[k + 1] - 1]
    std::vector<int> list;

    void build(const std::vector<int>& keyOf, int keys);
    bool isEmpty(int key) const { return start[static_cast<std::size_t>(key)] == start[static_cast<std::size_t>(key) + 1]; }
    // How many positions the keys first.. of one tile's side have.
    qsizetype countOfBlock(int first) const;
};

// One tile: the first keys of its two sides, first <= second, and the place of its first
// pixel in the order the tiles' pixels are visited (frame_tiles.h's forEachPixel).
struct FrameTile {
    int firstA = 0;
    int firstB = 0;
    qsizetype firstPixel = 0;
};

struct FrameTiles {
    std::vector<double> xs, ys;   // centred coordinates of each column and output row
    std::vector<double> absolute; // |coordinate| of each key, ascending by bit pattern
    std::vector<int> columnKeys, rowKeys; // key of each column and output row
    PositionsByKey columnsOf, rowsOf;
    std::vector<FrameTile> tiles;
    std::vector<std::vector<int>> blockColumns; // the columns of each block of keys, ascending

    // Keys and tiles of the columns xs and the rows ys.
    FrameTiles(std::vector<double> columnXs, std::vector<double> rowYs);

    int keys() const { return static_cast<int>(absolute.size()); }

    // The columns of the keys first.. of a tile's side, in ascending order: neighbouring
    // pixels one after another, whose similar arguments keep the maths library's branches
    // predictable.
    const std::vector<int>& columnsOfBlock(int first) const
    {
        return blockColumns[static_cast<std::size_t>(first / kTileKeys)];
    }

    // Where the terms of the pair of keys (rowKey, the key of `column`) lie in the table of
    // the tile of keys firstA.. and firstB..
    std::size_t tableIndex(const FrameTile& tile, int rowKey, int column) const
    {
        const int columnKey = columnKeys[static_cast<std::size_t>(column)];
        const int low = std::min(rowKey, columnKey);
        const int high = std::max(rowKey, columnKey);
        return static_cast<std::size_t>((high - tile.firstB) * kTileKeys + (low - tile.firstA));
    }

    // Calls visit(rowKey, row, column) for each pixel of `tile`, in the one order the
    // tiles' pixels are visited: the rows of keys firstB.. by the columns of keys
    // firstA.., then (off the diagonal) the rows of firstA.. by the columns of firstB..;
    // rows by ascending key, the columns of a row ascending. Calls startRow(rowKey, row)
    // before each row's pixels.
    template <typename StartRow, typename Visit>
    void forEachPixel(const FrameTile& tile, StartRow&& startRow, Visit&& visit) const
    {
        const auto region = [&](int rowFirst, const std::vector<int>& columns) {
            const int rowLast = std::min(rowFirst + kTileKeys, keys());
            for (int rowKey = rowFirst; rowKey < rowLast; ++rowKey) {
                for (int at = rowsOf.start[static_cast<std::size_t>(rowKey)];
                     at < rowsOf.start[static_cast<std::size_t>(rowKey) + 1]; ++at) {
                    const int row = rowsOf.list[static_cast<std::size_t>(at)];
                    startRow(rowKey, row);
                    for (const int column : columns)
                        visit(rowKey, row, column);
                }
            }
        };
        region(tile.firstB, columnsOfBlock(tile.firstA));
        if (tile.firstA != tile.firstB)
            region(tile.firstA, columnsOfBlock(tile.firstB));
    }
};

} // namespace mandalix
