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

} // namespace
} // namespace mandalix
