#include "render_options.h"

#include <gtest/gtest.h>

namespace mandalix {
namespace {

ParsedOptions parse(const QString& line)
{
    return parseRenderOptions(line.split(' ', Qt::SkipEmptyParts));
}

TEST(ParseRenderOptions_Good, ReadsEveryOptionInBothSpellings)
{
    const ParsedOptions parsed = parse(
        "--seed 72182.25 --type=2 --scale 16 --threads=3 --params-out p.json --palette-out s.png out.PNG");
    ASSERT_TRUE(parsed.ok) << parsed.message.toStdString();
    const RenderOptions& o = parsed.value;
    EXPECT_EQ(o.seed, 72182.25f);
    EXPECT_EQ(o.type, 2);
    EXPECT_EQ(o.scale, 16);
    EXPECT_EQ(o.threads, 3);
    EXPECT_EQ(o.paramsOut, "p.json");
    EXPECT_EQ(o.paletteOut, "s.png");
    EXPECT_EQ(o.out, "out.PNG");
    EXPECT_EQ(o.outFormat, OutputFormat::Png);
    EXPECT_TRUE(o.params.isEmpty());
}

TEST(ParseRenderOptions_Good, DefaultsAndTheSeedInSinglePrecision)
{
    const ParsedOptions plain = parse("a.bmp");
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.value.outFormat, OutputFormat::Bmp);
    EXPECT_EQ(plain.value.scale, 1);
    EXPECT_EQ(plain.value.threads, 0);
    EXPECT_FALSE(plain.value.seed.has_value());
    EXPECT_FALSE(plain.value.type.has_value());

    // 0.1 is taken as the nearest single-precision number, 0.100000001490116...
    const ParsedOptions seeded = parse("--seed 0.1 --params-out x.json a.png");
    ASSERT_TRUE(seeded.ok);
    EXPECT_EQ(static_cast<double>(*seeded.value.seed), 0.100000001490116119384765625);
    // Just under a day, but a day once rounded to single precision.
    EXPECT_FALSE(parse("--seed 86399.999 a.png").ok);
    EXPECT_TRUE(parse("--seed 86399.99 a.png").ok);
}

TEST(ParseRenderOptions_Good, HelpAndVersionNeedNothingElse)
{
    EXPECT_TRUE(parse("--help").value.isHelp);
    EXPECT_TRUE(parse("-h").value.isHelp);
    EXPECT_TRUE(parse("--version").value.isVersion);
    EXPECT_TRUE(parse("--help --scale 99").ok);
}

TEST(ParseRenderOptions_Bad, NamesTheProblem)
{
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"--frobnicate a.png", "Unknown option 'frobnicate'"},
        {"a.png --scale", "Missing value after '--scale'"},
        {"--scale 4.0 a.png", "--scale: \"4.0\" is not a whole number"},
        {"--scale +4 a.png", "--scale: \"+4\" is not a whole number"},
        {"--scale x a.png", "--scale: \"x\" is not a whole number"},
        {"--scale 2.5 a.png", "--scale: \"2.5\" is not a whole number"},
        {"--scale 0 a.png", "--scale: 0 is out of range (1 to 16)"},
        {"--scale 17 a.png", "--scale: 17 is out of range (1 to 16)"},
        {"--type 0 a.png", "--type: 0 is out of range (1 to 4)"},
        {"--type 5 a.png", "--type: 5 is out of range (1 to 4)"},
        {"--type four a.png", "--type: \"four\" is not a whole number"},
        {"--threads 0 a.png", "--threads: 0 is out of range (1 to 1024)"},
        {"--threads -2 a.png", "--threads: -2 is out of range (1 to 1024)"},
        {"--seed noon a.png", "--seed: \"noon\" is not a number"},
        {"--seed inf a.png", "--seed: \"inf\" is not a number"},
        {"--seed 1e3 a.png", "--seed: \"1e3\" is not a number"},
        {"--seed +5 a.png", "--seed: \"+5\" is not a number"},
        {"--seed 0x10 a.png", "--seed: \"0x10\" is not a number"},
        {"--seed 5. a.png", nullptr},
        {"--seed=.5 a.png", nullptr},
        {"--seed 1 --seed 2 a.png", "--seed: given more than once"},
        {"--type 1 --type=1 a.png", "--type: given more than once"},
        {"--params-out a.json --params-out b.json a.png", "--params-out: given more than once"},
        {"-h --help", "--help: given more than once"},
        {"--seed -1 a.png", "--seed: -1 is out of range (seconds since midnight, 0 to under 86400)"},
        {"--seed 86400 a.png", "--seed: 86400 is out of range (seconds since midnight, 0 to under 86400)"},
        {"--scale 2", "no output file given (mandalix-render [options] OUT)"},
        {"a.png b.png", "more than one output file given: \"a.png\", \"b.png\""},
        {"a.jpg", "\"a.jpg\": the output must be a .png or a .bmp file"},
        {"picture", "\"picture\": the output must be a .png or a .bmp file"},
        {"--params a.json --seed 5 a.png",
         "--seed and --params cannot be used together: the parameters file holds its seed"},
        {"--params-out a.png a.png", "OUT and --params-out name the same file \"a.png\""},
        {"--palette-out ./p.png --params-out p.png a.png",
         "--params-out and --palette-out name the same file \"p.png\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedOptions parsed = parse(QString::fromUtf8(c.line));
        EXPECT_EQ(parsed.ok, c.error == nullptr);
        EXPECT_EQ(parsed.message.toStdString(), c.error ? c.error : "");
    }
    // One rule for numbers: blanks around the digits are not part of them.
    for (const QString& blank : {QStringLiteral(" 4"), QStringLiteral("4 "), QStringLiteral("\t4")}) {
        const ParsedOptions parsed = parseRenderOptions({QStringLiteral("--scale"), blank, QStringLiteral("a.png")});
        EXPECT_EQ(parsed.message, QStringLiteral("--scale: \"%1\" is not a whole number").arg(blank));
        const ParsedOptions seed = parseRenderOptions({QStringLiteral("--seed"), blank, QStringLiteral("a.png")});
        EXPECT_EQ(seed.message, QStringLiteral("--seed: \"%1\" is not a number").arg(blank));
    }
    const ParsedOptions empty = parseRenderOptions({QStringLiteral("--params"), QString(), QStringLiteral("a.png")});
    EXPECT_EQ(empty.message.toStdString(), "--params: the file name is empty");
}

TEST(ParseRenderOptions_Size, ReadsWidthAndHeightAndNamesTypos)
{
    const ParsedOptions wide = parse("--size 3840x2160 a.png");
    ASSERT_TRUE(wide.ok) << wide.message.toStdString();
    EXPECT_EQ(wide.value.size, QSize(3840, 2160));
    EXPECT_EQ(parse("--size=16384X1 a.png").value.size, QSize(16384, 1));
    EXPECT_TRUE(parse("a.png").value.size.isEmpty());

    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"--size 3840 a.png", "--size: \"3840\" is not WIDTHxHEIGHT in pixels, e.g. 3840x2160"},
        {"--size 3840x a.png", "--size: \"3840x\" is not WIDTHxHEIGHT in pixels, e.g. 3840x2160"},
        {"--size 38.5x20 a.png", "--size: \"38.5x20\" is not WIDTHxHEIGHT in pixels, e.g. 3840x2160"},
        {"--size -4x20 a.png", "--size: \"-4x20\" is not WIDTHxHEIGHT in pixels, e.g. 3840x2160"},
        {"--size 0x20 a.png", "--size: 0x20 is out of range (1 to 16384 pixels a side)"},
        {"--size 20x16385 a.png", "--size: 20x16385 is out of range (1 to 16384 pixels a side)"},
        {"--size 999999999x2 a.png", "--size: 999999999x2 is out of range (1 to 16384 pixels a side)"},
        {"--size 906x906 --scale 2 a.png", "--size and --scale cannot be used together: the size sets the density"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedOptions parsed = parse(QString::fromUtf8(c.line));
        EXPECT_EQ(parsed.ok, c.error == nullptr);
        EXPECT_EQ(parsed.message.toStdString(), c.error ? c.error : "");
    }
}

TEST(ParseRenderOptions_Children, ReadsVariationsAndBreedRuns)
{
    const ParsedOptions plain = parse("--params p.json --variations 4 --out-dir d");
    ASSERT_TRUE(plain.ok) << plain.message.toStdString();
    EXPECT_EQ(plain.value.mode, RenderMode::Variations);
    EXPECT_EQ(plain.value.variations, 4);
    EXPECT_EQ(plain.value.outDir, "d");
    EXPECT_EQ(plain.value.strength, kDefaultStrength);
    EXPECT_FALSE(plain.value.mutationSeed.has_value());
    EXPECT_EQ(plain.value.locks, Locks());

    // The strength is kept as given: the run clamps it and says so. --seed names the
    // children, so it goes with --params here.
    const ParsedOptions full = parse("--lock rays --params p.json --variations=100 --mutation-seed 7.5 "
                                     "--strength 5 --lock palette --out-dir d --seed 3 --size 40x30");
    ASSERT_TRUE(full.ok) << full.message.toStdString();
    EXPECT_EQ(full.value.variations, 100);
    EXPECT_EQ(full.value.mutationSeed, 7.5f);
    EXPECT_EQ(full.value.strength, 5.0);
    EXPECT_EQ(full.value.locks, Locks().with(Group::Rays).with(Group::Palette));
    EXPECT_EQ(full.value.seed, 3.0f);

    for (const char* line : {"--breed a.json b.png --out-dir d", "--out-dir d b.png --type 2 --breed=a.json"}) {
        SCOPED_TRACE(line);
        const ParsedOptions breed = parse(QString::fromUtf8(line));
        ASSERT_TRUE(breed.ok) << breed.message.toStdString();
        EXPECT_EQ(breed.value.mode, RenderMode::Breed);
        EXPECT_EQ(breed.value.parents, (std::array<QString, 2>{"a.json", "b.png"}));
        EXPECT_EQ(breed.value.outDir, "d");
    }
}

TEST(ParseRenderOptions_Edits, ReadsSetAndZoomAndNamesWhatIsWrong)
{
    const ParsedOptions parsed = parse("--set n1=12.5 --zoom 2 --set=tip=2 --set baf03=-1.5e-3 a.png");
    ASSERT_TRUE(parsed.ok) << parsed.message.toStdString();
    const RecordEdits& edits = parsed.value.edits;
    EXPECT_EQ(edits.settings, (std::vector<ParameterSetting>{
                                  {&PictureParameters::n1, 12.5}, {&PictureParameters::tip, 2},
                                  {&PictureParameters::baf03, -1.5e-3}}));
    EXPECT_EQ(edits.view, 1.5);
    EXPECT_TRUE(parse("a.png").value.edits.isEmpty());
    EXPECT_EQ(parse("--zoom 3e6 a.png").value.edits.view, kMinView);
    EXPECT_EQ(parse("--zoom 0.000003 a.png").value.edits.view, kMaxView);
    EXPECT_TRUE(parse("--params p.json --variations 2 --out-dir d --zoom 4 --set f1=0").ok);
    EXPECT_TRUE(parse("--breed a.json b.json --out-dir d --set komp2=1E+2").ok);

    const char* range = "--zoom: %1 is out of range (3e-06 to 3e+06, a view of 1e-06 to 1e+06)";
    const struct {
        QString line;
        QString error;
    } cases[] = {
        {"--zoom 0 a.png", QString::fromLatin1(range).arg("0")},
        {"--zoom -2 a.png", QString::fromLatin1(range).arg("-2")},
        {"--zoom 3.1e6 a.png", QString::fromLatin1(range).arg("3.1e6")},
        {"--zoom 1e-7 a.png", QString::fromLatin1(range).arg("1e-7")},
        {"--zoom twice a.png", "--zoom: \"twice\" is not a number"},
        {"--zoom inf a.png", "--zoom: \"inf\" is not a number"},
        {"--zoom 1e999 a.png", "--zoom: \"1e999\" is not a number"},
        {"--zoom 2 --zoom 2 a.png", "--zoom: given more than once"},
        {"--set n1 a.png", "--set: \"n1\" is not NAME=VALUE, e.g. n1=12.5"},
        {"--set n5=1 a.png",
         "--set: \"n5\" is not a parameter (tip, barv, f1, f2, n1..n4, komp1..komp3, ba1..ba3, baf01..baf03)"},
        {"--set N1=1 a.png",
         "--set: \"N1\" is not a parameter (tip, barv, f1, f2, n1..n4, komp1..komp3, ba1..ba3, baf01..baf03)"},
        {"--set n1= a.png", "--set n1: \"\" is not a number"},
        {"--set n1=nan a.png", "--set n1: \"nan\" is not a number"},
        {"--set tip=1e400 a.png", "--set tip: \"1e400\" is not a number"},
        {"--set n1=1 --set n2=2 --set n1=3 a.png", "--set: n1 given more than once"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParsedOptions bad = parse(c.line);
        EXPECT_FALSE(bad.ok);
        EXPECT_EQ(bad.message, c.error);
    }
}

TEST(ParseRenderOptions_Children, NamesEachConflict)
{
    const QString p = QStringLiteral("--params p.json ");
    const struct {
        QString line;
        const char* error;
    } cases[] = {
        {"--variations 4 --out-dir d", "--variations needs --params PARENT"},
        {p + "--variations 4", "--variations needs --out-dir DIR"},
        {p + "--variations 4 --out-dir=", "--out-dir: the folder name is empty"},
        {p + "--variations 0 --out-dir d", "--variations: 0 is out of range (1 to 100)"},
        {p + "--variations 101 --out-dir d", "--variations: 101 is out of range (1 to 100)"},
        {p + "--variations 2 --variations 3 --out-dir d", "--variations: given more than once"},
        {p + "--variations 4 --out-dir d a.png",
         "OUT \"a.png\" cannot be used with --variations: the children go into --out-dir"},
        {p + "--variations 4 --out-dir d --params-out x.json",
         "--params-out cannot be used with --variations: each child's parameters go into --out-dir"},
        {p + "--variations 2 --out-dir d --strength much", "--strength: \"much\" is not a number"},
        {p + "--variations 2 --out-dir d --mutation-seed 86400",
         "--mutation-seed: 86400 is out of range (seconds since midnight, 0 to under 86400)"},
        {p + "--variations 2 --out-dir d --lock colour",
         "--lock: Unknown group \"colour\": the groups are formula, rings, rays, amplitudes, position and palette"},
        {p + "--variations 3 --breed a.json b.json --out-dir d", "--variations and --breed cannot be used together"},
        {"--breed a.json --out-dir d", "--breed needs two parents (--breed A B)"},
        {"--breed a.json b.json", "--breed needs --out-dir DIR"},
        {"--breed a.json b.json c.png --out-dir d",
         "OUT \"c.png\" cannot be used with --breed: the children go into --out-dir"},
        {"--breed a.json b.json --out-dir d --palette-out s.png",
         "--palette-out cannot be used with --breed: each child's parameters go into --out-dir"},
        {p + "--breed a.json b.json --out-dir d",
         "--params cannot be used with --breed: the parents follow it (--breed A B)"},
        {"--breed a.json b.json --out-dir d --strength 0.5",
         "--strength cannot be used with --breed: it belongs to --variations"},
        {"--out-dir d a.png", "--out-dir needs --variations, --breed or --count"},
        {"--lock palette a.png", "--lock needs --variations"},
        {p + "--mutation-seed 4 a.png", "--mutation-seed needs --variations"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParsedOptions parsed = parse(c.line);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.message.toStdString(), c.error);
    }
}

TEST(ParseRenderOptions_Animate, ReadsVideoRunsWithTheirDefaults)
{
    const struct {
        QString line;
        AnimationKind kind;
        QSize size;
        int fps;
        double seconds;
    } cases[] = {
        {"--seed 5 --animate painting a.png", AnimationKind::Painting, {453, 453}, 30, 1},
        {"--params p.json --animate painting --size 1920x1080 --fps 60 --seconds 0 a.MP4", AnimationKind::Painting,
         {1920, 1080}, 60, 0},
        {"--animate cycle a.webm", AnimationKind::Cycle, {1280, 720}, 30, 4},
        {"--params p.json --animate morph --with b.png --size 64x48 --seconds 2.5 a.png", AnimationKind::Morph,
         {64, 48}, 30, 2.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParsedOptions parsed = parse(c.line);
        ASSERT_TRUE(parsed.ok) << parsed.message.toStdString();
        const RenderOptions& o = parsed.value;
        EXPECT_EQ(o.mode, RenderMode::Animation);
        EXPECT_EQ(o.animation.kind, c.kind);
        EXPECT_EQ(o.animation.size, c.size);
        EXPECT_EQ(o.animation.framesPerSecond, c.fps);
        EXPECT_EQ(o.animation.seconds, c.seconds);
        EXPECT_EQ(o.with, c.kind == AnimationKind::Morph ? "b.png" : "");
    }
}

// Each refusal comes before anything is painted, in one line naming the field.
TEST(ParseRenderOptions_Animate, NamesEachFieldOutOfBoundsAndEachConflict)
{
    const struct {
        QString line;
        const char* error;
    } cases[] = {
        {"--animate paint a.png", "--animate: \"paint\" is no animation: painting, cycle or morph"},
        {"--animate morph a.png", "--animate morph needs --with B (a parameters file or a PNG)"},
        {"--animate cycle --with b.png a.png", "--with belongs to --animate morph"},
        {"--fps 30 a.png", "--fps needs --animate"},
        {"--seconds 3 a.png", "--seconds needs --animate"},
        {"--animate painting --fps 0 a.png", "--fps: 0 is out of range (1 to 120)"},
        {"--animate painting --fps 121 a.png", "--fps: 121 is out of range (1 to 120)"},
        {"--animate painting --seconds -1 a.png", "The hold at the end, -1 seconds, is not within 0..600 seconds"},
        {"--animate cycle --seconds 0 a.png", "The loop's length, 0 seconds, is not within more than 0..600 seconds"},
        {"--animate painting --size 400x400 a.png", "The painting's size 400x400 is smaller than the window's 453x453"},
        {"--animate cycle --size 4000x2000 a.png", "The video's width 4000 is not within 16..3840 pixels"},
        {"--animate painting a.mp4 --size 455x456", "MP4 needs an even width and height, not 455x456"},
        {"--animate painting a.gif",
         "\"a.gif\" names no video format: end it in .webm (VP9), .mp4 (H.264) or .png (animated PNG)"},
        {"--animate painting -", "a video cannot be written to standard output: name a .webm, .mp4 or .png file"},
        {"--animate painting --scale 2 a.png", "--scale cannot be used with --animate: give --size WxH"},
        {"--animate painting --params-out p.json a.png", "--params-out cannot be used with --animate"},
        {"--animate cycle --set-wallpaper a.png", "--set-wallpaper needs a run that paints one picture to OUT"},
        {"--params p.json --variations 2 --out-dir d --animate cycle", "--animate cannot be used with --variations"},
        {"--seed 4 --params p.json --animate cycle a.png",
         "--seed and --params cannot be used together: the parameters file holds its seed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParsedOptions parsed = parse(c.line);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.message.toStdString(), c.error);
    }
}

TEST(ParseRenderOptions_Batch, ReadsACountAndRefusesWhatIsNoCount)
{
    const ParsedOptions good = parse("--count 50 --seed 100 --scale 2 --out-dir d");
    ASSERT_TRUE(good.ok) << good.message.toStdString();
    EXPECT_EQ(good.value.mode, RenderMode::Batch);
    EXPECT_EQ(good.value.count, 50);
    EXPECT_EQ(good.value.outDir, "d");
    const struct {
        QString line;
        const char* error;
    } cases[] = {
        {"--count 0 --out-dir d", "--count: 0 is out of range (1 to 100000)"},
        {"--count -3 --out-dir d", "--count: -3 is out of range (1 to 100000)"},
        {"--count ten --out-dir d", "--count: \"ten\" is not a whole number"},
        {"--count 5", "--count needs --out-dir DIR"},
        {"--count 5 --out-dir d a.png", "OUT \"a.png\" cannot be used with --count: the pictures go into --out-dir"},
        {"--count 5 --out-dir d --params p.json", "--params cannot be used with --count: each picture is drawn from its seed"},
        {"--count 5 --out-dir d --breed a.json b.json", "--count cannot be used with --breed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ParsedOptions parsed = parse(c.line);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.message.toStdString(), c.error);
    }
}

} // namespace
} // namespace mandalix
