#include "animate_options.h"

#include "option_values.h"
#include "output/output_files.h"
#include "video/video_format.h"

namespace mandalix {

namespace {

bool isSet(const QCommandLineParser& parser, const char* name)
{
    return parser.isSet(QLatin1String(name));
}

QString valueOf(const QCommandLineParser& parser, const char* name)
{
    return parser.value(QLatin1String(name));
}

// The options only an --animate run reads.
constexpr const char* kAnimateOptions[] = {"with", "fps", "seconds"};

// What a video cannot go with: it is one file, painted at a size, from one picture
// (and the morph's other).
bool refuseWithAnimate(const QCommandLineParser& parser, const RenderOptions& options, QString& error)
{
    if (options.mode != RenderMode::Picture) {
        error = QStringLiteral("--animate cannot be used with %1")
                    .arg(options.mode == RenderMode::Breed ? QStringLiteral("--breed") : QStringLiteral("--variations"));
        return false;
    }
    for (const char* name : {"scale", "params-out", "palette-out"})
        if (isSet(parser, name)) {
            error = QStringLiteral("--%1 cannot be used with --animate%2")
                        .arg(QLatin1String(name),
                             QLatin1String(name) == QLatin1String("scale") ? QStringLiteral(": give --size WxH")
                                                                             : QString());
            return false;
        }
    return true;
}

bool readOutVideo(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        error = positional.isEmpty() ? QStringLiteral("no output file given (mandalix-render --animate KIND OUT)")
                                     : QStringLiteral("more than one output file given: \"%1\"")
                                           .arg(positional.join(QStringLiteral("\", \"")));
        return false;
    }
    options.out = positional.front();
    if (options.out == QLatin1String(kStandardOutput)) {
        error = QStringLiteral("a video cannot be written to standard output: name a .webm, .mp4 or .png file");
        return false;
    }
    const Result<VideoFormat> format = videoFormatOf(options.out);
    if (!format.ok)
        error = format.message;
    return format.ok;
}

bool readKindAndSecond(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    const Result<AnimationKind> kind = animationKindOf(valueOf(parser, "animate"));
    if (!kind.ok) {
        error = QStringLiteral("--animate: ") + kind.message;
        return false;
    }
    options.animation.kind = kind.value;
    const bool isMorph = kind.value == AnimationKind::Morph;
    if (isMorph != isSet(parser, "with")) {
        error = isMorph ? QStringLiteral("--animate morph needs --with B (a parameters file or a PNG)")
                        : QStringLiteral("--with belongs to --animate morph");
        return false;
    }
    options.with = valueOf(parser, "with");
    if (isMorph && options.with.isEmpty()) {
        error = QStringLiteral("--with: the file name is empty");
        return false;
    }
    return true;
}

} // namespace

QSize defaultAnimationSize(const QString& out)
{
    const Result<VideoFormat> format = videoFormatOf(out);
    if (format.ok && format.value != VideoFormat::AnimatedPng)
        return QSize(1280, 720);
    return QSize(kMinPaintingSidePx, kMinPaintingSidePx);
}

bool readAnimateOptions(const QCommandLineParser& parser, RenderOptions& options, QString& error)
{
    if (!isSet(parser, "animate")) {
        for (const char* name : kAnimateOptions)
            if (isSet(parser, name)) {
                error = QStringLiteral("--%1 needs --animate").arg(QLatin1String(name));
                return false;
            }
        return true;
    }
    if (!refuseWithAnimate(parser, options, error) || !readKindAndSecond(parser, options, error)
        || !readOutVideo(parser, options, error))
        return false;
    options.mode = RenderMode::Animation;
    AnimationSettings& settings = options.animation;
    settings.size = options.size.isEmpty() ? defaultAnimationSize(options.out) : options.size;
    settings.seconds = settings.kind == AnimationKind::Painting ? kDefaultPaintingHoldSeconds : kDefaultLoopSeconds;
    if (isSet(parser, "fps")
        && !readWhole(QStringLiteral("fps"), valueOf(parser, "fps"), kMinVideoFps, kMaxVideoFps,
                      settings.framesPerSecond, error))
        return false;
    if (isSet(parser, "seconds") && !readDecimal(QStringLiteral("seconds"), valueOf(parser, "seconds"), settings.seconds, error))
        return false;
    const Result<> checked = checkAnimationSettings(settings, options.out);
    if (!checked.ok)
        error = checked.message;
    return checked.ok;
}

} // namespace mandalix
