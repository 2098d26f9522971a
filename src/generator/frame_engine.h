// The one painter of a picture into a frame of any size: the picture's parameters and
// coordinate window with a 69-entry colour table, each frame pixel the pipeline's palette
// position at its framed grid position (picture_frame.h), through the shared terms. At
// once here, as 8-bit strip indices for files; block by block in a painting order in
// frame_blocks.h, for watching. Built once, then read-only: any thread may paint with
// one engine, on the shared pool. Nothing fails: a failed pixel is kFailedIndex; a frame
// too large to allocate, or a painting cancelled, comes back as a null image.
#pragma once

#include "generator/frame_angles.h"
#include "generator/pixel_terms.h"
#include "state/picture_record.h"
#include "state/window_state.h"

#include <QImage>
#include <QList>
#include <QRgb>
#include <QSize>

#include <atomic>
#include <functional>
#include <vector>

namespace mandalix {

// Entries of a frame's colour table: the 68 palette positions, then the failed pixels'.
inline constexpr int kFrameColours = kPaletteIndices + 1;

// The window state a record paints with: start-up's image size, the coordinate window of
// the record's view, its generation type and parameters. No surface is touched and no
// number drawn: nothing else of the state decides a pixel's colour.
WindowState frameStateOf(const PictureRecord& record);

// Called on the calling thread now and then while the pool paints, and once at the end,
// with the frame rows finished so far (in proportion to the pixels) and the rows.
using FrameProgress = std::function<void(long long rowsDone, long long rows)>;

class FrameEngine {
public:
    // The picture of `s` with `colourTable` (kFrameColours entries; each of the first 68
    // is a colour of its position; the last shows failed pixels).
    FrameEngine(const WindowState& s, const QList<QRgb>& colourTable);
    // The picture of `s` with the colours of the painted strip `picture3`; a position the
    // strip shows no colour at fails, and the table's last entry is black.
    FrameEngine(const WindowState& s, const Surface& picture3);

    const PixelTerms& terms() const { return m_terms; }
    const QList<QRgb>& colourTable() const { return m_table; }

    // The centred coordinates of each column (or row) of a side of `length` pixels of a
    // frame whose shorter side is `shorter`.
    std::vector<double> columnXs(int length, int shorter) const;
    std::vector<double> rowYs(int length, int shorter) const;

    // The frame of `size` (1..kMaxPictureSidePx a side) as an Format_Indexed8 image with
    // the colour table, on at most `threads` threads of the shared pool. `cancel`, when
    // given, is looked at between tiles; once set the painting ends with a null image.
    // `angles`, when given, keeps the angular terms of the frame for the next painting
    // into it, or gives them when it holds them already (frame_angles.h).
    QImage paint(QSize size, int threads, const FrameProgress& progress = {},
                 const std::atomic<bool>* cancel = nullptr, FrameAngles* angles = nullptr) const;

    // Only the given rows of the frame of `size` (each 0..height-1, any order), as the
    // image's rows top to bottom in the order given: for a few rows of a huge frame.
    QImage paintRows(QSize size, const std::vector<int>& rows, int threads, const FrameProgress& progress = {},
                     const std::atomic<bool>* cancel = nullptr, FrameAngles* angles = nullptr) const;

private:
    WindowState m_window; // the coordinate window's fields are what is read
    PixelTerms m_terms;
    QList<QRgb> m_table;
};

} // namespace mandalix
