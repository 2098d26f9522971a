// Where the files of each drive go. Built once at start-up and owned by the program;
// saves only read it. On Windows the real roots "C:\" and "D:\"; elsewhere each drive is
// a folder (see drivesFromEnvironment). Nothing here fails: a folder that cannot be
// written shows up when a save tries it.
#pragma once

#include <QString>

namespace mandalix {

struct Drives {
    QString c; // folder of drive C:
    QString d; // folder of drive D:
    // True when d is the user's default pictures folder, which a save makes if it is
    // missing; a folder the user named is never made behind their back.
    bool createMissingD = false;
};

// The drives of this machine. On Windows "C:\" and "D:\". Elsewhere:
//   C: is $MANDALIX_DRIVE_C when set and non-empty, else the home folder;
//   D: is $MANDALIX_DRIVE_D when set and non-empty, else the user's pictures folder
//      (the home folder if the system names none), made at save time if missing.
// Folders from the variables are made absolute against the current folder.
Drives drivesFromEnvironment();

} // namespace mandalix
