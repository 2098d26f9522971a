// mandalix-render's variations and bred children, as a user runs them: the files in the
// folder, their pixels against the frame engine, and the records they carry.
#include "generator/frame_engine.h"
#include "output/params_file.h"
#include "palette/strip_colours.h"
#include "tools/render_process.h"
#include "variations/breeding.h"
#include "variations/mutation.h"

#include <QImageReader>

namespace mandalix {
namespace {

PictureRecord readRecord(const QString& path)
{
    const ParamsRead read = readParamsFile(path);
    EXPECT_TRUE(read.ok) << read.message.toStdString();
    return read.value;
}

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

TEST_F(MandalixRender, VariationsAreTheMutatedChildrenPaintedAndRecorded)
{
    runOk("--seed 100 --params-out parent.json parent.png");
    const PictureRecord parent = readRecord(path("parent.json"));
    const Locks locks = Locks().with(Group::Palette);
    const std::vector<PictureRecord> expected = children(parent, 4, 7, 0.3, locks);
    const QString line = QStringLiteral("--params parent.png --variations 4 --mutation-seed 7 --strength 0.3 "
                                        "--lock palette --size 120x120 --seed 5000 --out-dir ");
    for (const char* dir : {"one", "two"}) {
        ASSERT_TRUE(QDir(this->dir.path()).mkdir(dir));
        runOk(line + dir);
    }
    EXPECT_EQ(filesIn(path("one")),
              QStringList({"variation-1.json", "variation-1.png", "variation-2.json", "variation-2.png",
                           "variation-3.json", "variation-3.png", "variation-4.json", "variation-4.png"}));
    for (int k = 0; k < 4; ++k) {
        const QString stem = QStringLiteral("variation-%1").arg(k + 1);
        SCOPED_TRACE(stem.toStdString());
        const PictureRecord& want = expected[static_cast<std::size_t>(k)];
        const QImage painted = FrameEngine(frameStateOf(want), frameColourTable(want)).paint(QSize(120, 120), 1);
        EXPECT_EQ(QImage(path("one/" + stem + ".png")).convertToFormat(QImage::Format_RGB32),
                  painted.convertToFormat(QImage::Format_RGB32));
        const PictureRecord record = readRecord(path("one/" + stem + ".json"));
        EXPECT_TRUE(isSamePicture(record, want));
        EXPECT_EQ(record.palette, parent.palette);
        EXPECT_EQ(record.lineage, Lineage::mutatedFrom(parent.imeslike, 7, 0.3));
        EXPECT_EQ(record, readRecord(path("one/" + stem + ".png")));
        EXPECT_EQ(record.seed, 5000.0f);
        // The same seeds give the same files, byte for byte.
        for (const char* suffix : {".png", ".json"})
            EXPECT_EQ(contents("one/" + stem + suffix), contents("two/" + stem + suffix));
    }
    // The four children differ from each other.
    EXPECT_FALSE(isSamePicture(expected[0], expected[1]));
}

TEST_F(MandalixRender, BreedWritesTheNineChildrenOfBothParents)
{
    runOk("--seed 100 --params-out a.json a.png");
    runOk("--seed 200 --type 3 b.png");
    ASSERT_TRUE(QDir(dir.path()).mkdir("row"));
    runOk("--breed a.json b.png --size 40x30 --out-dir row");
    const std::vector<PictureRecord> expected = breed(readRecord(path("a.json")), readRecord(path("b.png")));
    const QStringList stems = {"crossover-formula", "crossover-rings", "crossover-rays", "crossover-amplitudes",
                               "crossover-position", "crossover-palette", "blend-25", "blend-50", "blend-75"};
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(stems.size()));
    EXPECT_EQ(filesIn(path("row")).size(), 2 * stems.size());
    for (qsizetype k = 0; k < stems.size(); ++k) {
        SCOPED_TRACE(stems[k].toStdString());
        const PictureRecord record = readRecord(path("row/" + stems[k] + ".json"));
        const PictureRecord& want = expected[static_cast<std::size_t>(k)];
        EXPECT_TRUE(isSamePicture(record, want));
        EXPECT_EQ(record.lineage, want.lineage);
        EXPECT_EQ(QImageReader(path("row/" + stems[k] + ".png")).size(), QSize(40, 30));
    }
}

TEST_F(MandalixRender, ChildrenRunsSayWhatTheyChangedOrWhyTheyStopped)
{
    runOk("--seed 100 --params-out parent.json parent.png");
    write("file", "not a folder");
    for (const char* dir : {"kids", "full", "full/variation-2.json"})
        ASSERT_TRUE(QDir(this->dir.path()).mkpath(dir));
    const QString parent = QStringLiteral("--params parent.json --variations 2 --size 8x8 ");
    const struct {
        QString line;
        int status;
        const char* error;
    } cases[] = {
        {parent + "--strength 5 --out-dir kids", 0, "mandalix-render: --strength 5 is above 1; using 1\n"},
        {parent + "--strength 0 --out-dir kids", 0, "mandalix-render: --strength 0 is below 0.01; using 0.01\n"},
        {parent + "--out-dir nowhere", 1, "mandalix-render: Could not write into \"nowhere\": no such folder\n"},
        {parent + "--out-dir file", 1, "mandalix-render: Could not write into \"file\": not a folder\n"},
        {parent + "--out-dir full", 1, nullptr},
        {"--breed parent.json missing.json --out-dir kids", 1,
         "mandalix-render: Could not read \"missing.json\": No such file or directory\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const Finished result = run(c.line.split(' '));
        EXPECT_EQ(result.status, c.status);
        if (c.error)
            EXPECT_EQ(result.err.toStdString(), c.error);
        else
            EXPECT_EQ(result.err.count('\n'), 1);
    }
    EXPECT_EQ(filesIn(path("kids")).size(), 4);
    // Nothing of a stopped run is left: the folder in the way is all there is.
    EXPECT_EQ(filesIn(path("full")), QStringList{"variation-2.json"});
}

} // namespace
} // namespace mandalix
