// Where the files of each drive go. On Windows the real roots "C:\" and "D:\"; elsewhere
// each drive is a folder: C: is $MANDALIX_DRIVE_C, else the home folder; D: is
// $MANDALIX_DRIVE_D, else the user's pictures folder.
#pragma once

#include <QString>

namespace mandalix {

struct Drives {
    QString c; // folder of drive C:
    QString d; // folder of drive D:
};

} // namespace mandalix
