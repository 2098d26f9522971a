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

// Every option the renderer takes; those with a value show it as "value".
void addRenderOptions(QCommandLineParser& parser)
{
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
        {QStringLiteral("set-wallpaper"), {}},
    });
}

} // namespace

ParsedOptions parseRenderOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addRenderOptions(parser);

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
    options.isSetWallpaper = parser.isSet(QStringLiteral("set-wallpaper"));
    parsed.ok = options.isHelp || options.isVersion
        || (readNumbers(parser, options, parsed.message) && readRecordEdits(parser, options.edits, parsed.message)
            && readChildOptions(parser, options, parsed.message)
            && readAnimateOptions(parser, options, parsed.message)
            && readFiles(parser, options, parsed.message)
            && (options.mode != RenderMode::Picture
                || (readOut(parser.positionalArguments(), options, parsed.message)
                    && checkDistinct(options, parsed.message))));
    // The wallpaper is the one picture a picture run paints.
    if (parsed.ok && options.isSetWallpaper && options.mode != RenderMode::Picture) {
        parsed.ok = false;
        parsed.message = QStringLiteral("--set-wallpaper needs a run that paints one picture to OUT");
    }
    return parsed;
}

} // namespace mandalix
