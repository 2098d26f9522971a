// The frames of a morph loop in order, painted by the frame engine. The way back repeats
// the way there (frame k is frame frames - k to the bit), so frames of the way there are
// kept deflated, up to a budget of bytes, and the way back inflates them instead of
// painting them again; those the budget could not hold are painted again. One owner, one
// thread at a time (each frame is painted on the shared pool); a painting cancelled, or a
// frame too large to allocate, is a null image.
#pragma once

#include "generator/frame_angles.h"
#include "state/picture_record.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <atomic>
#include <map>

namespace mandalix {

// What the kept frames of one loop may take: about ninety 1080p frames, which keeps a
// 1080p export with the encoders' own buffers under 300 MB.
inline constexpr qsizetype kMorphKeptBytes = qsizetype(48) << 20;

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
    QImage recall(QByteArray deflated, const PictureRecord& record) const;

    PictureRecord m_a;
    PictureRecord m_b;
    long long m_frames;
    QSize m_size;
    qsizetype m_budget;
    qsizetype m_keptBytes = 0;
    bool m_isFull = false;
    FrameAngles m_angles{qsizetype(64) << 20};
    std::map<long long, QByteArray> m_kept; // deflated packed rows of frames of the way there
    long long m_painted = 0;
};

} // namespace mandalix
