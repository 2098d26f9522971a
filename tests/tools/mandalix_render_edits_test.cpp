// mandalix-render's --set, --zoom and --palette-file, as a user runs them: the records the files carry,
// the zoomed pixels against the whole picture's, and the parents of children changed.
#include "output/params_file.h"
#include "tools/render_process.h"
#include "variations/breeding.h"
#include "variations/mutation.h"

#include <QImage>

#include <array>

namespace mandalix {
namespace {

PictureRecord readRecord(const QString& path)
{
    const ParamsRead read = readParamsFile(path);
    EXPECT_TRUE(read.ok) << read.message.toStdString();
    return read.value;
}

// --set and --zoom change exactly their fields of the record painted, and the files carry
// them; --zoom 2 shows the middle half at twice the size: at scale 2 the whole picture is
// the middle of scale 4 without it, pixel for pixel.
TEST_F(MandalixRender, SetAndZoomChangeTheRecordAndZoomTwoShowsTheMiddleAtTwiceTheSize)
{
    runOk("--seed 100 --type 1 --params-out p.json p.png");
    runOk("--params p.png --set n1=12.5 --set tip=2 --params-out s.json s.png");
    runOk("--seed 100 --type 1 --zoom 2 --params-out z.json z.png");
    const PictureRecord plain = readRecord(path("p.json"));
    PictureRecord set = plain;
    set.picture.n1 = 12.5;
    set.picture.tip = 2;
    PictureRecord zoomed = plain;
    zoomed.view = 1.5;
    // --palette-file paints with a kept favourite's waves.
    PictureRecord favourite = plain;
    favourite.palette.phase = {1, 2, 3};
    write("fav.json", R"({"favourites": [{"name": "mine", "period": [25, 30, 35], "phase": [1, 2, 3],
                                           "wavelength": [30, 40, 50]}]})");
    favourite.palette.period = {25, 30, 35};
    favourite.palette.wavelength = {30, 40, 50};
    runOk("--params p.png --palette-file fav.json --params-out f.json f.png");
    const Finished missing = run({QStringLiteral("--palette-file"), QStringLiteral("none.json"), QStringLiteral("n.png")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("none.json")) << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("n.png")));
    for (const auto& [name, want] : {std::pair{"s", set}, std::pair{"z", zoomed}, std::pair{"f", favourite}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(readRecord(path(QStringLiteral("%1.json").arg(name))), want);
        EXPECT_EQ(readRecord(path(QStringLiteral("%1.png").arg(name))), want);
        EXPECT_NE(contents(QStringLiteral("%1.png").arg(name)), contents("p.png"));
    }

    runOk("--params p.png --zoom 2 --scale 2 z2.png");
    runOk("--params p.png --scale 4 p4.png");
    const QImage middle = QImage(path("p4.png")).copy(459, 459, 906, 906).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(QImage(path("z2.png")).convertToFormat(QImage::Format_RGB32), middle);
}

// --set and --zoom change the parents, so the children start from the changed pictures.
TEST_F(MandalixRender, SetAndZoomChangeTheParentsBeforeTheChildrenAreMade)
{
    runOk("--seed 100 --params-out a.json a.png");
    runOk("--seed 200 --type 3 --params-out b.json b.png");
    std::array<PictureRecord, 2> parents{readRecord(path("a.json")), readRecord(path("b.json"))};
    for (PictureRecord& parent : parents) {
        parent.picture.n1 = 12.5;
        parent.view = 0.75;
    }
    for (const char* dir : {"kids", "row"})
        ASSERT_TRUE(QDir(this->dir.path()).mkdir(dir));
    const QString edits = QStringLiteral(" --set n1=12.5 --zoom 4 --size 8x8 --out-dir ");
    runOk("--params a.png --variations 2 --mutation-seed 7" + edits + "kids");
    runOk("--breed a.json b.png" + edits + "row");
    const std::vector<PictureRecord> mutated = children(parents[0], 2, 7, kDefaultStrength, Locks());
    EXPECT_TRUE(isSamePicture(readRecord(path("kids/variation-1.json")), mutated[0]));
    EXPECT_TRUE(isSamePicture(readRecord(path("kids/variation-2.png")), mutated[1]));
    const std::vector<PictureRecord> bred = breed(parents[0], parents[1]);
    EXPECT_TRUE(isSamePicture(readRecord(path("row/crossover-rings.json")), bred[1]));
    EXPECT_TRUE(isSamePicture(readRecord(path("row/blend-50.json")), bred[7]));
    EXPECT_EQ(readRecord(path("row/blend-50.json")).view, 0.75);
}

} // namespace
} // namespace mandalix
