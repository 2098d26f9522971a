// mandalix-render as a user runs it: the built executable, with no display, through its
// command line, exit status and standard error.
#include "program/program.h"
#include "tools/render_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mandalix {
namespace {

TEST_F(MandalixRender, TheSameSeedGivesByteIdenticalFilesTwice)
{
    runOk("--seed 72182.25 --params-out a.json --palette-out a-strip.png a.png");
    runOk("--seed 72182.25 --params-out b.json --palette-out b-strip.png b.png");
    runOk("--seed 72182.25 a.bmp");
    runOk("--seed 72182.25 b.bmp");
    EXPECT_EQ(contents("a.png"), contents("b.png"));
    EXPECT_EQ(contents("a.json"), contents("b.json"));
    EXPECT_EQ(contents("a-strip.png"), contents("b-strip.png"));
    EXPECT_EQ(contents("a.bmp"), contents("b.bmp"));
    EXPECT_EQ(QImageReader(path("a-strip.png")).size(), QSize(541, 21));
    EXPECT_EQ(QImageReader(path("a.bmp")).format(), "bmp");
    // Every PNG carries the parameters file's JSON (compact there).
    const QJsonDocument json = QJsonDocument::fromJson(contents("a.json"));
    EXPECT_TRUE(json.isObject());
    for (const char* png : {"a.png", "a-strip.png"}) {
        SCOPED_TRACE(png);
        const QString text = QImageReader(path(png)).text("mandalix-params");
        EXPECT_EQ(QJsonDocument::fromJson(text.toUtf8()), json);
    }
}

TEST_F(MandalixRender, ScaleOneIsWhatTheWindowPaintsForTheSameSeed)
{
    runOk("--seed 72182.25 a.png");
    FixedClock clock(QDateTime(QDate::currentDate(), QTime(20, 3, 2, 250)));
    Program window(clock, Drives{});
    StartUp(window, noPacing());
    const QImage painted(path("a.png"));
    EXPECT_EQ(painted.convertToFormat(QImage::Format_RGB32), window.surfaces.Picture1.image());
}

TEST_F(MandalixRender, AParamsFileOrItsPngPaintsTheIdenticalPicture)
{
    for (const char* type : {"3", "4"}) {
        SCOPED_TRACE(type);
        runOk(QStringLiteral("--seed 4321.5 --type %1 --params-out a.json a.png").arg(type));
        runOk("--params a.json b.png");
        runOk("--params a.png c.png");
        EXPECT_EQ(contents("b.png"), contents("a.png"));
        EXPECT_EQ(contents("c.png"), contents("a.png"));
    }
}

TEST_F(MandalixRender, OneOrTwoThreadsGiveIdenticalFilesAtScaleFour)
{
    runOk("--seed 30000 --params-out a.json a.png");
    runOk("--params a.png --scale 4 --threads 1 one.png");
    runOk("--params a.json --scale 4 --threads 2 two.png");
    EXPECT_EQ(contents("one.png"), contents("two.png"));
    EXPECT_EQ(QImageReader(path("one.png")).size(), QSize(1812, 1812));
}

TEST_F(MandalixRender, AnExistingFileIsReplaced)
{
    write("a.png", "an old file");
    runOk("--seed 10 a.png");
    EXPECT_EQ(QImageReader(path("a.png")).size(), QSize(453, 453));
    EXPECT_EQ(files(), QStringList{"a.png"});
}

TEST_F(MandalixRender, HelpAndVersionGoToStandardOutput)
{
    const Finished help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: mandalix-render [options] OUT\n"));
    EXPECT_EQ(help.err, "");
    const Finished version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "mandalix-render 0.1.0\n");
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(MandalixRender, BadInputGetsOneLineAndTheRightStatusAndLeavesNoFile)
{
    runOk("--seed 100 --params-out good.json old.png");
    const QByteArray good = contents("good.json");
    write("missing-field.json", QByteArray(good).replace("\"n1\"", "\"m1\""));
    write("text.json", QByteArray(good).replace("\"nac\": 4", "\"nac\": \"4\""));
    write("infinite.json", QByteArray(good).replace("\"nac\": 4", "\"nac\": 1e999"));
    write("nac0.json", QByteArray(good).replace("\"nac\": 4", "\"nac\": 0"));
    write("broken.json", good.left(good.size() / 2));
    QImage(8, 8, QImage::Format_RGB32).save(path("plain.png"));
    QImage(8, 8, QImage::Format_RGB32).save(path("plain.bmp"));
    QByteArray damaged = contents("old.png");
    const qsizetype text = damaged.indexOf("zTXt");
    ASSERT_GT(text, 0);
    damaged[text + 30] = static_cast<char>(damaged[text + 30] ^ 1);
    write("crc.png", damaged);
    const QByteArray oldPicture = contents("old.png");
    const QStringList inputs = files();

    const struct {
        const char* line;
        int status;
        const char* error;
    } cases[] = {
        {"--colour red a.png", 2, "Unknown option 'colour'"},
        {"a.png --type", 2, "Missing value after '--type'"},
        {"--scale big a.png", 2, "--scale: \"big\" is not a whole number"},
        {"--scale 17 a.png", 2, "--scale: 17 is out of range (1 to 16)"},
        {"--type 5 a.png", 2, "--type: 5 is out of range (1 to 4)"},
        {"--threads 0 a.png", 2, "--threads: 0 is out of range (1 to 1024)"},
        {"--seed 90000 a.png", 2, "--seed: 90000 is out of range (seconds since midnight, 0 to under 86400)"},
        {"a.jpg", 2, "\"a.jpg\": the output must be a .png or a .bmp file"},
        {"--scale 2", 2, "no output file given (mandalix-render [options] OUT)"},
        {"--params nowhere.json a.png", 1, "Could not read \"nowhere.json\": No such file or directory"},
        {"--params broken.json a.png", 1, nullptr},
        {"--params missing-field.json a.png", 1, "Could not read \"missing-field.json\": picture.n1: missing"},
        {"--params text.json a.png", 1, "Could not read \"text.json\": nac: not a number"},
        {"--params nac0.json --type 4 a.png", 1, "Could not read \"nac0.json\": nac: 0 is not a generation type 1 to 4"},
        {"--seed 1e3 a.png", 2, "--seed: \"1e3\" is not a number"},
        {"--seed 5 --seed 6 a.png", 2, "--seed: given more than once"},
        {"--zoom 0 a.png", 2, "--zoom: 0 is out of range (3e-06 to 3e+06, a view of 1e-06 to 1e+06)"},
        {"--set n9=1 a.png", 2,
         "--set: \"n9\" is not a parameter (tip, barv, f1, f2, n1..n4, komp1..komp3, ba1..ba3, baf01..baf03)"},
        {"--params infinite.json a.png", 1, nullptr},
        {"--params plain.png a.png", 1, "Could not read \"plain.png\": the PNG carries no \"mandalix-params\" text"},
        {"--params crc.png a.png", 1, "Could not read \"crc.png\": the PNG's zTXt chunk is damaged (CRC error)"},
        {"--params plain.bmp a.png", 1,
         "Could not read \"plain.bmp\": neither a mandalix parameters file nor a PNG written by mandalix"},
        {"--params /dev/zero a.png", 1, "Could not read \"/dev/zero\": not a regular file"},
        {"--params /dev/urandom a.png", 1, "Could not read \"/dev/urandom\": not a regular file"},
        {"--params good.json --scale 16 no/such/a.png", 1, "Could not write \"no/such/a.png\": No such file or directory"},
        {"--params good.json --palette-out no/such/s.png a.png", 1,
         "Could not write \"no/such/s.png\": No such file or directory"},
        {"--params good.json no/such/a.png", 1, "Could not write \"no/such/a.png\": No such file or directory"},
        {"--params good.json --params-out no/such/a.json old.png", 1,
         "Could not write \"no/such/a.json\": No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Finished result = run(QString::fromUtf8(c.line).split(' '));
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.err.startsWith("mandalix-render: ")) << result.err.toStdString();
        EXPECT_TRUE(result.err.endsWith('\n'));
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.toStdString();
        if (c.error) {
            const QByteArray suffix = c.status == 2 ? " (see --help)" : "";
            EXPECT_EQ(result.err.toStdString(), "mandalix-render: " + std::string(c.error) + suffix.toStdString() + "\n");
        }
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(files(), inputs);
        EXPECT_EQ(contents("old.png"), oldPicture);
    }
}

TEST_F(MandalixRender, MalformedJsonNamesWhereItBreaks)
{
    write("infinite.json", "{\"format\": \"mandalix-params/1\",\n \"seed\": 1e999}");
    const Finished result = run({"--params", "infinite.json", "a.png"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "mandalix-render: Could not read \"infinite.json\": illegal number at line 2, column 10\n");
}

// "-" is standard output; any other target that is not a regular file is refused and
// stays what it was; a file that fails at its last block is a failure, not a short file.
TEST_F(MandalixRender, WritesOnlyRegularFilesOrStandardOutput)
{
    runOk("--seed 100 --params-out a.json a.png");
    const Finished picture = run({"--seed", "100", "-"});
    EXPECT_EQ(picture.status, 0) << picture.err.toStdString();
    EXPECT_EQ(picture.out, contents("a.png"));
    const Finished params = run({"--seed", "100", "--params-out", "-", "b.png"});
    EXPECT_EQ(params.status, 0) << params.err.toStdString();
    EXPECT_EQ(params.out, contents("a.json"));
    ASSERT_TRUE(QFile::remove(path("b.png")));

    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo.png")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), path("null.json")));
    const QStringList before = files();
    const QString refused = QStringLiteral("not a regular file; only regular files are replaced");
    const struct {
        QStringList arguments;
        QString target;
    } rows[] = {
        {{"--seed", "100", "fifo.png"}, "fifo.png"},
        {{"--seed", "100", "--params-out", "null.json", "c.png"}, "null.json"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.target.toStdString());
        const Finished result = run(row.arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.toStdString(),
                  QStringLiteral("mandalix-render: Could not write \"%1\": %2\n").arg(row.target, refused).toStdString());
        EXPECT_EQ(files(), before);
    }
    EXPECT_FALSE(QFileInfo(path("fifo.png")).isFile());

    // 600 blocks of 1 KiB: the bitmap's last block does not fit. Its strip and its
    // parameters were written in full before, and keep their old content all the same.
    runOk("--seed 100 full.bmp");
    ASSERT_GT(contents("full.bmp").size(), 600 * 1024);
    for (const char* name : {"full.bmp", "pal.png", "p.json"})
        write(name, "old");
    QProcess shell;
    shell.setWorkingDirectory(dir.path());
    shell.start(QStringLiteral("bash"), {QStringLiteral("-c"),
        QStringLiteral("trap '' XFSZ; ulimit -f 600; exec \"$0\" --seed 100 --palette-out pal.png --params-out p.json full.bmp"),
        QStringLiteral(MANDALIX_RENDER_EXECUTABLE)});
    ASSERT_TRUE(shell.waitForFinished(120000));
    EXPECT_EQ(shell.exitCode(), 1);
    EXPECT_EQ(shell.readAllStandardError().toStdString(),
              QStringLiteral("mandalix-render: Could not write \"full.bmp\": File too large\n").toStdString());
    for (const char* name : {"full.bmp", "pal.png", "p.json"})
        EXPECT_EQ(contents(name), "old") << name;
}

// Two outputs that are one file, by name, through a link or as hard links, would
// overwrite each other: refused before painting, and nothing is written.
TEST_F(MandalixRender, TwoOutputsThatAreOneFileAreRefused)
{
    write("a.png", "old");
    ASSERT_TRUE(QFile::link(dir.path(), path("folder")));
    ASSERT_TRUE(QFile::link(path("a.png"), path("link.png")));
    ASSERT_EQ(::link(QFile::encodeName(path("a.png")).constData(), QFile::encodeName(path("hard.png")).constData()), 0);
    const QStringList before = files();
    const struct {
        const char* line;
        const char* error;
    } rows[] = {
        {"--palette-out a.png link.png", "Could not write \"link.png\": it is the same file as \"a.png\""},
        {"--palette-out hard.png a.png", "Could not write \"a.png\": it is the same file as \"hard.png\""},
        {"--palette-out new.png --params-out folder/new.png b.png",
         "Could not write \"folder/new.png\": it is the same file as \"new.png\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        const Finished result = run(QString::fromUtf8(row.line).split(' '));
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.toStdString(), "mandalix-render: " + std::string(row.error) + "\n");
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(files(), before);
        EXPECT_EQ(contents("a.png"), "old");
    }
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The picture goes to the file without a second full copy of it: the peak memory of a
// large render stays well below twice the image. (A sanitizer's shadow memory would
// blur the figure.)
TEST_F(MandalixRender, WritesALargePictureWithoutCopyingIt)
{
    const int side = 453 * 12;
    const double imageBytes = 4.0 * side * side;
    runOk("--seed 100 --scale 12 large.png");
    rusage children{};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
    EXPECT_LT(children.ru_maxrss * 1024.0, 1.5 * imageBytes) << "peak " << children.ru_maxrss << " KiB";
}
#endif

} // namespace
} // namespace mandalix
