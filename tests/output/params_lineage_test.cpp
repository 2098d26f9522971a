#include "output/lineage_text.h"
#include "output/params_file.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

PictureRecord recordWith(const Lineage& lineage)
{
    PictureRecord record;
    record.seed = 36900.5f;
    record.imeslike = QStringLiteral("T20261209101500");
    record.moment = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0, 500));
    record.nac = 2;
    record.palette.period = {21, 30, 38};
    record.picture.komp1 = 0.1 + 0.2;
    record.lineage = lineage;
    return record;
}

struct LineageRow {
    const char* name;
    Lineage lineage;
    const char* text;
};

const QString kA = QStringLiteral("T20261209101500");
const QString kB = QStringLiteral("T20261209101733");

std::vector<LineageRow> lineageRows()
{
    return {
        {"drawn", {}, "drawn at random"},
        {"mutated", Lineage::mutatedFrom(kA, 12.5, 0.1 + 0.2),
         "mutated from T20261209101500 (seed 12.5, strength 0.3)"},
        {"crossover", Lineage::crossoverOf(kA, kB, {QStringLiteral("palette"), QStringLiteral("komp")}),
         "bred from T20261209101500 and T20261209101733 (crossover: palette, komp from T20261209101733)"},
        {"crossover of nothing", Lineage::crossoverOf(kA, kB, {}),
         "bred from T20261209101500 and T20261209101733 (crossover: all from T20261209101500)"},
        {"interpolation 1/4", Lineage::interpolationOf(kA, kB, 0.25),
         "bred from T20261209101500 and T20261209101733 (interpolation 1/4)"},
        {"interpolation 1/2", Lineage::interpolationOf(kB, kA, 0.5),
         "bred from T20261209101733 and T20261209101500 (interpolation 1/2)"},
        {"interpolation 0.3", Lineage::interpolationOf(kA, kB, 0.3),
         "bred from T20261209101500 and T20261209101733 (interpolation 0.3)"},
        {"adopted", Lineage::adoptedFrom(QStringLiteral("my picture \"1\".png")),
         "adopted from my picture \"1\".png"},
        {"edited", Lineage::editedFrom(kA), "edited from T20261209101500"},
    };
}

// Every kind goes through the JSON file and a PNG's text chunk and comes back whole.
TEST(ParamsLineage_RoundTrip, EveryKindThroughTheFileAndThePngText)
{
    QTemporaryDir dir;
    for (const LineageRow& row : lineageRows()) {
        SCOPED_TRACE(row.name);
        const PictureRecord written = recordWith(row.lineage);
        QFile json(dir.filePath(QStringLiteral("a.json")));
        ASSERT_TRUE(json.open(QIODevice::WriteOnly | QIODevice::Truncate));
        json.write(paramsJson(written));
        json.close();
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.setText(QLatin1String(kParamsTextKey), paramsChunkText(written));
        ASSERT_TRUE(QImageWriter(dir.filePath(QStringLiteral("a.png")), "png").write(image));
        for (const char* name : {"a.json", "a.png"}) {
            SCOPED_TRACE(name);
            const ParamsRead read = readParamsFile(dir.filePath(QLatin1String(name)));
            ASSERT_TRUE(read.ok) << read.message.toStdString();
            EXPECT_EQ(read.value.lineage, row.lineage);
            EXPECT_EQ(read.value, written);
        }
    }
}

// A drawn picture's file holds exactly the fields it held before lineages were kept, and
// a file without a lineage, or with an explicit drawn one, reads as drawn.
TEST(ParamsLineage_RoundTrip, ADrawnPictureWritesNoLineageAndOlderFilesReadAsDrawn)
{
    const PictureRecord drawn = recordWith({});
    const QJsonObject root = QJsonDocument::fromJson(paramsJson(drawn)).object();
    EXPECT_EQ(root.keys(), (QStringList{"format", "imeslike", "moment", "nac", "palette",
                                        "picture", "repeat", "replacements", "seed"}));
    EXPECT_FALSE(paramsChunkText(drawn).contains(QStringLiteral("lineage")));

    EXPECT_TRUE(isSamePicture(recordWith(Lineage::mutatedFrom(kA, 1, 1)), drawn)) << "a lineage does not make another picture";
    QJsonObject explicitDrawn = root;
    explicitDrawn.insert(QStringLiteral("lineage"), QJsonObject{{"kind", "drawn"}});
    for (const QJsonObject& file : {root, explicitDrawn}) {
        const ParamsRead read = paramsFromJson(QJsonDocument(file).toJson());
        ASSERT_TRUE(read.ok) << read.message.toStdString();
        EXPECT_EQ(read.value, drawn);
    }
}

TEST(ParamsLineage_Errors, NameTheFieldAndTheReason)
{
    const QJsonObject root =
        QJsonDocument::fromJson(paramsJson(recordWith({}))).object();
    const struct {
        const char* name;
        QJsonValue lineage;
        const char* error;
    } rows[] = {
        {"not an object", QJsonArray{1}, "lineage: not an object"},
        {"no kind", QJsonObject{}, "lineage.kind: \"\" is not drawn, mutated, crossover, interpolation, adopted or edited"},
        {"unknown kind", QJsonObject{{"kind", "cloned\nat\nnoon"}},
         "lineage.kind: \"cloned at noon\" is not drawn, mutated, crossover, interpolation, adopted or edited"},
        {"bad parent name", QJsonObject{{"kind", "mutated"}, {"parents", QJsonArray{"T123"}}, {"seed", 1}, {"strength", 1}},
         "lineage.parents: not a list of one picture name (T and 14 digits)"},
        {"one parent bred", QJsonObject{{"kind", "interpolation"}, {"parents", QJsonArray{kA}}, {"fraction", 0.5}},
         "lineage.parents: not a list of two picture names (T and 14 digits)"},
        {"negative strength", QJsonObject{{"kind", "mutated"}, {"parents", QJsonArray{kA}}, {"seed", 1}, {"strength", -1}},
         "lineage.strength: not a number 0 or more (the mutation's strength)"},
        {"missing seed", QJsonObject{{"kind", "mutated"}, {"parents", QJsonArray{kA}}, {"strength", 1}},
         "lineage.seed: not a number (the mutation's seed)"},
        {"fraction at a parent", QJsonObject{{"kind", "interpolation"}, {"parents", QJsonArray{kA, kB}}, {"fraction", 1}},
         "lineage.fraction: not a number between 0 and 1 (exclusive)"},
        {"group not a text", QJsonObject{{"kind", "crossover"}, {"parents", QJsonArray{kA, kB}}, {"fromOther", QJsonArray{"palette", 3}}},
         "lineage.fromOther: not a list of group names (1 to 32 characters each, at most 64)"},
        {"no file", QJsonObject{{"kind", "adopted"}, {"file", ""}}, "lineage.file: not a file name"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QJsonObject file = root;
        file.insert(QStringLiteral("lineage"), row.lineage);
        const ParamsRead read = paramsFromJson(QJsonDocument(file).toJson());
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.message.toStdString(), row.error);
    }
}

TEST(LineageText, OneLinePerKind)
{
    for (const LineageRow& row : lineageRows())
        EXPECT_EQ(lineageText(row.lineage).toStdString(), row.text) << row.name;
}

} // namespace
} // namespace mandalix
