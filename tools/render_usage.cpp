#include "render_options.h"

namespace mandalix {

namespace {

// The lines of --help up to the options of runs that make children or videos.
QString pictureUsage()
{
    return QStringLiteral(
        "Usage: mandalix-render [options] OUT\n"
        "       mandalix-render --params PARENT --variations N --out-dir DIR [options]\n"
        "       mandalix-render --breed A B --out-dir DIR [options]\n"
        "       mandalix-render --animate painting|cycle|morph [options] OUT\n"
        "       mandalix-render --count N --out-dir DIR [options]\n"
        "Paints one mandala picture without a window and writes it to OUT (.png or .bmp;\n"
        "- writes a PNG to standard output); or paints the children of one picture, or of\n"
        "two, each as a PNG and a parameters file in DIR; or makes a video of the picture;\n"
        "or paints N new pictures into DIR.\n"
        "\n"
        "Options:\n"
        "  --seed S            seed the picture with S seconds since midnight (0 to under\n"
        "                      86400, taken as single precision); default: the clock\n"
        "  --type N            generation type 1..4 (default 4; with --params, the recorded one)\n"
        "  --scale K           paint at K times the window's pixel density, 1..16 (default 1:\n"
        "                      453 x 453, exactly the window's picture)\n"
        "  --size WxH          paint W x H pixels, 1..16384 a side, instead of --scale: the\n"
        "                      shorter side spans the window's picture, a longer one shows\n"
        "                      more of the pattern on both ends (453x453 is scale 1)\n"
        "  --threads N         threads for pictures above 453 x 453 (default: one per core)\n"
        "  --params FILE       paint a recorded picture again, from a parameters file or a\n"
        "                      PNG written by mandalix-render\n"
        "  --params-out FILE   write the picture's parameters file (JSON; - for standard\n"
        "                      output)\n"
        "  --palette-out FILE  write the palette strip (541 x 21) as PNG\n"
        "  --set NAME=VALUE    set a parameter of the picture to any finite number\n"
        "                      (repeatable): tip, barv, f1, f2, n1..n4, komp1..komp3,\n"
        "                      ba1..ba3, baf01..baf03\n"
        "  --zoom Z            show the middle of the picture Z times larger: the view\n"
        "                      (half-extent of the coordinate window) becomes 3 / Z,\n"
        "                      1e-06 to 1e+06 (so Z is 3e-06 to 3e+06)\n"
        "  --palette-file FAV  paint with the first palette of a favourite palettes file\n"
        "                      (JSON, as the window's favourites are kept and exported)\n"
        );
}

QString otherRunsUsage()
{
    return QStringLiteral(
        "  --variations N      write N children (1..100) of the --params picture into DIR:\n"
        "                      variation-1.png and variation-1.json ... (numbered to the\n"
        "                      width of N)\n"
        "  --mutation-seed S   seed the children's changes (as --seed; default: the clock)\n"
        "  --strength X        how far the children move, 0.01..1 (default 0.1)\n"
        "  --lock GROUP        keep a group as the parent's: formula, rings, rays,\n"
        "                      amplitudes, position or palette (repeatable)\n"
        "  --breed A B         write the nine children of the pictures A and B (parameters\n"
        "                      files or PNGs) into DIR: crossover-formula ...\n"
        "                      crossover-palette, blend-25, blend-50, blend-75\n"
        "  --count N           paint N new pictures (1..100000) into DIR, seeded one\n"
        "                      second apart from --seed (or the clock), each a PNG and a\n"
        "                      parameters file named after the picture; pictures already\n"
        "                      there are kept, so a run interrupted goes on where it was\n"
        "  --out-dir DIR       the existing folder the children or pictures go into\n"
        "  --animate KIND      write a video to OUT (.webm VP9, .mp4 H.264 or .png, an\n"
        "                      animated PNG whose every frame is exact) instead of a\n"
        "                      picture: painting (the picture painted in the order of its\n"
        "                      type, 2 s a pass, as the window shows it), cycle (its\n"
        "                      colours flowing along the strip, a seamless loop) or morph\n"
        "                      (into the --with picture and back, a seamless loop)\n"
        "  --with B            the morph's other picture (a parameters file or a PNG)\n"
        "  --fps N             frames a second of the video, 1..120 (default 30)\n"
        "  --seconds S         painting: how long the finished picture is held at the\n"
        "                      end (default 1); cycle and morph: the loop's length\n"
        "                      (default 4); at most 600\n"
        "  --set-wallpaper     also set the picture, painted at the size of the display's\n"
        "                      screen, as the desktop's wallpaper\n"
        "  -h, --help          show this text\n"
        "  --version           show the version\n"
        "\n"
        "A video's --size is at most 3840x2160, a painting's at least 453x453 (the\n"
        "window's picture, whose own orders it then follows); the default is 453x453\n"
        "for an animated PNG and 1280x720 for WebM and MP4, which need even sides.\n"
        "Every PNG written carries the parameters in a text chunk \"mandalix-params\".\n"
        "--set, --zoom and --palette-file change the picture painted (a --seed picture\n"
        "after its draw); for children, they change the parent of --variations (both of\n"
        "--breed) first.\n"
        "Children are named after the run's moment (--seed or the clock); --size, --scale,\n"
        "--type and --threads apply to each. All files of a run are written, or none.\n"
        "Exit status: 0 done, 1 a file could not be read or written, 2 a usage error.\n");
}

} // namespace

QString renderUsage()
{
    return pictureUsage() + otherRunsUsage();
}

} // namespace mandalix
