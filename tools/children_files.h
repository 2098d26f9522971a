// The children a run of mandalix-render makes, each with the name its two files take in
// the output folder (variation-01, crossover-rings, blend-50, ...). Pure functions on
// values, safe on any thread; nothing fails.
#pragma once

#include "base/result.h"
#include "state/picture_record.h"
#include "variations/locks.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace mandalix {

struct NamedChild {
    QString stem; // the file name without .png or .json
    PictureRecord record;
};

// The children of `parent` (see children() in mutation.h), each named as a new picture
// begun at `moment`, as variation-1 ... variation-N, numbered to the width of N.
std::vector<NamedChild> variationChildren(const PictureRecord& parent, int count, float seed, double strength,
                                          Locks locks, const QDateTime& moment);

// The row bred from `a` and `b` (see breed() in breeding.h), each named as a new picture
// begun at `moment`: crossover-<group> in the groups' order, then blend-25, blend-50,
// blend-75.
std::vector<NamedChild> bredChildren(const PictureRecord& a, const PictureRecord& b, const QDateTime& moment);

// Whether the children can go into `dir`: it must be a folder that is there (a run does not
// make one), and each child's two files writable in it.
Result<> checkOutDir(const QString& dir, const std::vector<NamedChild>& made);

} // namespace mandalix
