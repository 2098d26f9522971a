// The frames of a morph loop in order, painted by the frame engine. The way back repeats
// the way there (frame k is frame frames - k to the bit), so frames of the way there are
// kept packed, up to a budget of bytes, and the way back unpacks them instead of painting
// them again; those the budget could not hold are painted again. The angular terms of the
// pixels are kept for the frames of each half of the loop, which share them when both
// pictures show one view. One owner, one thread at a time (each frame is painted on the
// shared pool); a painting cancelled, or a frame too large to allocate, is a null image.
#pragma once

#include "generator/frame_angles.h"
#include "state/picture_record.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <atomic>
#include <map>
#include <memory>

struct ZSTD_CCtx_s;
struct ZSTD_DCtx_s;

namespace mandalix {

// What the kept angular terms and frames of one loop may take beside the encoder's own
// buffers, which at 1080p are about 170 MB for VP9 and 40 MB for H.264 or animated PNG:
// a 1080p export stays under 300 MB with the angles and nearly every frame of the way
// there kept beside VP9, every one beside the others.
inline constexpr qsizetype kMorphKeptBytes = qsizetype(52) << 20;
inline constexpr qsizetype kMorphKeptBytesBesideLeanEncoders = qsizetype(128) << 20;

class MorphFrames {
public:
    // The frames of a loop of `frames` (even, at least 2) from a to b and back, of `size`.
    MorphFrames(const PictureRecord& a, const PictureRecord& b, long long frames, QSize size,
                qsizetype keptBytes = kMorphKeptBytes);
    MorphFrames(const MorphFrames&) = delete;
    MorphFrames& operator=(const MorphFrames&) = delete;

    // Frame k (0..frames - 1) as a Format_Indexed8 image with its colour table. Any order
    // gives the same pixels; asked for in order, each frame of the way there that was
    // kept is painted only once. `cancel` is looked at while a frame is painted.
    QImage frame(long long k, const std::atomic<bool>* cancel = nullptr);

    // How many frames the engine has painted so far.
    long long framesPainted() const { return m_painted; }

private:
    QImage paint(const PictureRecord& record, const std::atomic<bool>* cancel);
    void keep(long long k, const QImage& image);
    QImage recall(QByteArray packed, const PictureRecord& record);

    struct ZstdFree {
        void operator()(ZSTD_CCtx_s* context) const;
        void operator()(ZSTD_DCtx_s* context) const;
    };

    PictureRecord m_a;
    PictureRecord m_b;
    long long m_frames;
    QSize m_size;
    FrameAngles m_angles; // the angular terms of the frames of one half of the loop
    qsizetype m_budget;   // what the kept frames may take
    qsizetype m_keptBytes = 0;
    bool m_isFull = false;
    std::map<long long, QByteArray> m_kept; // packed rows of frames of the way there
    QByteArray m_scratch;                   // room to pack a frame into
    std::unique_ptr<ZSTD_CCtx_s, ZstdFree> m_packer;   // made on first use, then reused
    std::unique_ptr<ZSTD_DCtx_s, ZstdFree> m_unpacker;
    long long m_painted = 0;
};

} // namespace mandalix
