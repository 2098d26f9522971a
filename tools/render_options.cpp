#include "render_options.h"

#include "animate_options.h"
#include "children_options.h"
#include "generator/scaled_picture.h"
#include "option_values.h"
#include "output/output_files.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>

namespace mandalix {

namespace {

// Reads --size WIDTHxHEIGHT, each side 1..kMaxPictureSidePx; false with `error` set otherwise.
bool readSize(const QString& value, QSize& out, QString& error)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,9})[xX]([0-9]{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(value);
    if (!match.hasMatch()) {
        error = QStringLiteral("--size: \"%1\" is not WIDTHxHEIGHT in pixels, e.g. 3840x2160").arg(value);
        return false;
    }
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (width < 1 || height < 1 || width > kMaxPictureSidePx || height > kMaxPictureSidePx) {
        error = QStringLiteral("--size: %1 is out of range (1 to %2 pixels a side)").arg(value).arg(kMaxPictureSidePx);
        return false;
    }
    out = QSize(width, height);
    return true;
}

bool readNumbers(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    const auto isSet = [&](const char* name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&](const char* name) { return parser.value(QLatin1String(name)); };
    if (isSet("type")) {
        int type = 0;
        if (!readWhole(QStringLiteral("type"), value("type"), 1, 4, type, error))
            return false;
        options.type = type;
    }
    if (isSet("scale") && !readWhole(QStringLiteral("scale"), value("scale"), 1, kMaxScale, options.scale, error))
        return false;
    if (isSet("size") && isSet("scale")) {
        error = QStringLiteral("--size and --scale cannot be used together: the size sets the density");
        return false;
    }
    if (isSet("size") && !readSize(value("size"), options.size, error))
        return false;
    if (isSet("threads")
        && !readWhole(QStringLiteral("threads"), value("threads"), 1, kMaxThreads, options.threads, error))
        return false;
    return !isSet("seed") || readSeed(QStringLiteral("seed"), value("seed"), options.seed, error);
}

bool readFiles(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    // Children take their seed from the moment of the run, which --seed may set.
    const bool isChildren = options.mode == RenderMode::Variations || options.mode == RenderMode::Breed
        || options.mode == RenderMode::Batch;
    if (!isChildren && parser.isSet(QStringLiteral("seed"))
        && parser.isSet(QStringLiteral("params"))) {
        error = QStringLiteral("--seed and --params cannot be used together: the parameters file holds its seed");
        return false;
    }
    const std::pair<const char*, QString*> files[] = {
        {"params", &options.params}, {"params-out", &options.paramsOut}, {"palette-out", &options.paletteOut},
        {"palette-file", &options.paletteFile}};
    for (const auto& [name, to] : files) {
        *to = parser.value(QLatin1String(name));
        if (parser.isSet(QLatin1String(name)) && to->isEmpty()) {
            error = QStringLiteral("--%1: the file name is empty").arg(QLatin1String(name));
            return false;
        }
    }
    return true;
}

bool readOut(const QStringList& positional, RenderOptions& options, QString& error)
{
    if (positional.isEmpty()) {
        error = QStringLiteral("no output file given (mandalix-render [options] OUT)");
        return false;
    }
    if (positional.size() > 1) {
        error = QStringLiteral("more than one output file given: \"%1\"").arg(positional.join(QStringLiteral("\", \"")));
        return false;
    }
    options.out = positional.front();
    // Standard output takes a PNG.
    if (options.out == QLatin1String(kStandardOutput)) {
        options.outFormat = OutputFormat::Png;
        return true;
    }
    const QString suffix = QFileInfo(options.out).suffix().toLower();
    if (suffix == QLatin1String("png")) {
        options.outFormat = OutputFormat::Png;
    } else if (suffix == QLatin1String("bmp")) {
        options.outFormat = OutputFormat::Bmp;
    } else {
        error = QStringLiteral("\"%1\": the output must be a .png or a .bmp file").arg(options.out);
        return false;
    }
    return true;
}

bool sameFile(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty()
        && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// Two outputs of one run may not be the same file: one would silently replace the other.
bool checkDistinct(const RenderOptions& options, QString& error)
{
    const std::pair<const char*, const QString*> outputs[] = {
        {"OUT", &options.out}, {"--params-out", &options.paramsOut}, {"--palette-out", &options.paletteOut}};
    for (std::size_t a = 0; a < std::size(outputs); ++a)
        for (std::size_t b = a + 1; b < std::size(outputs); ++b)
            if (sameFile(*outputs[a].second, *outputs[b].second)) {
                error = QStringLiteral("%1 and %2 name the same file \"%3\"")
                            .arg(outputs[a].first, outputs[b].first, *outputs[a].second);
                return false;
            }
    return true;
}

// An option given twice would leave one of its values unused: refused, naming it.
bool checkOnce(const QCommandLineParser& parser, QString& error)
{
    QStringList seen;
    for (QString name : parser.optionNames()) {
        if (name == QLatin1String("h"))
            name = QStringLiteral("help");
        if (seen.contains(name) && name != QLatin1String("lock") && name != QLatin1String("set")) {
            error = QStringLiteral("--%1: given more than once").arg(name);
            return false;
        }
        seen << name;
    }
    return true;
}

} // namespace

ParsedOptions parseRenderOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QString valueName = QStringLiteral("value");
    parser.addOptions({
        {{QStringLiteral("h"), QStringLiteral("help")}, {}},
        {QStringLiteral("version"), {}},
        {QStringLiteral("seed"), {}, valueName},
        {QStringLiteral("type"), {}, valueName},
        {QStringLiteral("scale"), {}, valueName},
        {QStringLiteral("size"), {}, valueName},
        {QStringLiteral("threads"), {}, valueName},
        {QStringLiteral("params"), {}, valueName},
        {QStringLiteral("params-out"), {}, valueName},
        {QStringLiteral("palette-out"), {}, valueName},
        {QStringLiteral("out-dir"), {}, valueName},
        {QStringLiteral("variations"), {}, valueName},
        {QStringLiteral("mutation-seed"), {}, valueName},
        {QStringLiteral("strength"), {}, valueName},
        {QStringLiteral("lock"), {}, valueName},
        {QStringLiteral("breed"), {}, valueName},
        {QStringLiteral("set"), {}, valueName},
        {QStringLiteral("zoom"), {}, valueName},
        {QStringLiteral("palette-file"), {}, valueName},
        {QStringLiteral("animate"), {}, valueName},
        {QStringLiteral("with"), {}, valueName},
        {QStringLiteral("fps"), {}, valueName},
        {QStringLiteral("seconds"), {}, valueName},
        {QStringLiteral("count"), {}, valueName},
    });

    ParsedOptions parsed;
    RenderOptions& options = parsed.value;
    if (!parser.parse(QStringList{QStringLiteral("mandalix-render")} + arguments)) {
        // Qt's sentence ends in a full stop, and the caller adds to it.
        parsed.message = parser.errorText();
        if (parsed.message.endsWith(u'.'))
            parsed.message.chop(1);
        return parsed;
    }
    if (!checkOnce(parser, parsed.message))
        return parsed;
    options.isHelp = parser.isSet(QStringLiteral("help"));
    options.isVersion = parser.isSet(QStringLiteral("version"));
    parsed.ok = options.isHelp || options.isVersion
        || (readNumbers(parser, options, parsed.message) && readRecordEdits(parser, options.edits, parsed.message)
            && readChildOptions(parser, options, parsed.message)
            && readAnimateOptions(parser, options, parsed.message)
            && readFiles(parser, options, parsed.message)
            && (options.mode != RenderMode::Picture
                || (readOut(parser.positionalArguments(), options, parsed.message)
                    && checkDistinct(options, parsed.message))));
    return parsed;
}

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
