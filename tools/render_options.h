// The command line of the headless renderer, mandalix-render, read into a value. Pure:
// nothing is opened or checked on disk here. A line that cannot be used comes back with
// a one-line message naming the problem (a usage error).
#pragma once

#include "base/result.h"
#include "record_edits.h"
#include "state/clock.h"
#include "variations/locks.h"
#include "variations/mutation.h"
#include "video/animation_settings.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace mandalix {

inline constexpr int kMaxThreads = 1024;

enum class OutputFormat { Png, Bmp };

// One picture to OUT, the children of one parent (--variations), or the row bred from
// two parents (--breed), each child as a PNG and a parameters file in --out-dir, or a
// video of the picture to OUT (--animate), or new pictures in --out-dir (--count).
enum class RenderMode { Picture, Variations, Breed, Animation, Batch };

inline constexpr int kMaxVariations = 100;
inline constexpr int kMaxBatch = 100000;

struct RenderOptions {
    QString out;        // the picture to write
    OutputFormat outFormat = OutputFormat::Png;
    QString params;     // --params: a parameters file or a PNG to paint again
    QString paramsOut;  // --params-out
    QString paletteOut; // --palette-out
    std::optional<float> seed;
    std::optional<int> type;
    int scale = 1;
    QSize size; // --size WxH; empty when not given (the scale's square)
    int threads = 0; // 0: one per core
    RenderMode mode = RenderMode::Picture;
    QString outDir;                    // --out-dir: the folder the children go into
    int variations = 0;                // --variations N, 1..kMaxVariations
    std::optional<float> mutationSeed; // --mutation-seed; default: the clock
    double strength = kDefaultStrength; // --strength as given; the run clamps it
    Locks locks;                       // --lock GROUP, repeatable
    std::array<QString, 2> parents;    // --breed A B
    RecordEdits edits; // --set and --zoom: laid over the record painted, or the parents
    QString paletteFile; // --palette-file: a favourites file whose first palette is painted
    bool isSetWallpaper = false; // --set-wallpaper: the picture also becomes the wallpaper
    AnimationSettings animation; // --animate KIND, --size, --fps, --seconds
    QString with;                // --with: the morph's other picture
    int count = 0;               // --count N: new pictures, 1..kMaxBatch
    bool isHelp = false;
    bool isVersion = false;
};

// When !ok, the message names the problem: "--scale: 17 is out of range (1 to 16)".
using ParsedOptions = Result<RenderOptions>;

// Reads the arguments after the program's name. --help and --version need nothing
// else; --variations needs --params and --out-dir, --breed A B needs --out-dir; --animate
// needs one OUT ending in .webm, .mp4 or .png; any other run needs exactly one OUT ending
// in .png or .bmp (in any case).
ParsedOptions parseRenderOptions(const QStringList& arguments);

// The text of --help.
QString renderUsage();

} // namespace mandalix
