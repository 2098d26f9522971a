#include "output/params_file.h"
#include "state/window_state.h"

#include "surface/colour.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace mandalix {
namespace {

// A record whose numbers are hard to write back: sums that are not the nearest double
// of their decimal, values held in single precision, the extremes of double.
PictureRecord awkwardRecord()
{
    PictureRecord record;
    record.seed = 72182.25f;
    record.imeslike = QStringLiteral("T20261207200302");
    record.nac = 3;
    record.palette.period = {23, 35, 39};
    record.palette.phase = {0.1 + 0.2, 1.0 / 3.0, 6.28 * 0.999999940395355};
    record.palette.wavelength = {toSingle(23 * 0.1 + 23), toSingle(1.1), 77.99999237060547};
    record.picture = {4, 5, 24, 16, toSingle(10.1), toSingle(29.9), toSingle(3.3), 0.1 + 0.7,
                      149, 100, 123, 150, 419, 609, toSingle(20.000001), 1e300, 5e-324};
    record.picture.f1 = -2.5e-8;
    record.picture.komp3 = 9007199254740993.0; // 2^53 + 1 rounds to 2^53: still a double
    return record;
}

void expectSameBits(double read, double written, const char* name)
{
    EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0)
        << name << ": wrote " << written << ", read " << read;
}

TEST(ParamsJson_RoundTrip, EveryNumberReadsBackAsTheSameDouble)
{
    const PictureRecord written = awkwardRecord();
    const ParamsRead read = paramsFromJson(paramsJson(written));
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(std::memcmp(&read.value.seed, &written.seed, sizeof written.seed), 0);
    EXPECT_EQ(read.value.imeslike, written.imeslike);
    expectSameBits(read.value.nac, written.nac, "nac");
    for (int c = 0; c < 3; ++c) {
        expectSameBits(read.value.palette.period[c], written.palette.period[c], "period");
        expectSameBits(read.value.palette.phase[c], written.palette.phase[c], "phase");
        expectSameBits(read.value.palette.wavelength[c], written.palette.wavelength[c], "wavelength");
    }
    const auto* r = reinterpret_cast<const double*>(&read.value.picture);
    const auto* w = reinterpret_cast<const double*>(&written.picture);
    static_assert(sizeof(PictureParameters) == 17 * sizeof(double));
    for (int k = 0; k < 17; ++k)
        expectSameBits(r[k], w[k], "picture parameter");
}

TEST(ParamsJson_RoundTrip, WritesTheFieldsUnderTheirNames)
{
    const QJsonObject root = QJsonDocument::fromJson(paramsJson(awkwardRecord())).object();
    EXPECT_EQ(root.value("format").toString(), "mandalix-params/1");
    EXPECT_EQ(root.value("seed").toDouble(), 72182.25);
    EXPECT_EQ(root.value("palette").toObject().value("period").toArray().at(2).toDouble(), 39);
    EXPECT_EQ(root.value("picture").toObject().value("barv").toDouble(), 5);
    EXPECT_EQ(root.value("picture").toObject().value("baf03").toDouble(), 5e-324);
    EXPECT_EQ(root.value("picture").toObject().size(), 17);
}

TEST(ParamsJson_RoundTrip, ParametersGoToAndFromTheWindowState)
{
    WindowState s;
    const PictureParameters parameters = awkwardRecord().picture;
    setParameters(s, parameters);
    EXPECT_EQ(s.n2, parameters.n2);
    EXPECT_EQ(s.baf02, 1e300);
    EXPECT_EQ(s.komp1, 149);
    EXPECT_EQ(parametersOf(s), parameters);
}

// The JSON of the awkward record with one field replaced (or removed, for an empty value).
QByteArray withField(const QString& path, const QJsonValue& value)
{
    QJsonObject root = QJsonDocument::fromJson(paramsJson(awkwardRecord())).object();
    const QStringList parts = path.split('.');
    if (parts.size() == 1) {
        if (value.isUndefined())
            root.remove(path);
        else
            root.insert(path, value);
    } else {
        QJsonObject inner = root.value(parts[0]).toObject();
        if (value.isUndefined())
            inner.remove(parts[1]);
        else
            inner.insert(parts[1], value);
        root.insert(parts[0], inner);
    }
    return QJsonDocument(root).toJson();
}

TEST(ParamsJson_Errors, NameTheFieldAndTheReason)
{
    const QJsonValue missing(QJsonValue::Undefined);
    const struct {
        const char* name;
        QByteArray json;
        const char* error;
    } cases[] = {
        {"missing parameter", withField("picture.n1", missing), "picture.n1: missing"},
        {"missing seed", withField("seed", missing), "seed: missing"},
        {"missing palette", withField("palette", missing), "palette: missing"},
        {"missing wave", withField("palette.phase", missing), "palette.phase: missing"},
        {"text for a number", withField("picture.tip", "4"), "picture.tip: not a number"},
        {"null for a number", withField("nac", QJsonValue::Null), "nac: not a number"},
        {"number for a text", withField("imeslike", 3), "imeslike: not a text"},
        {"short wave", withField("palette.period", QJsonArray{20, 30}),
         "palette.period: not a list of three numbers (red, green, blue)"},
        {"wave of texts", withField("palette.wavelength", QJsonArray{20, "x", 30}),
         "palette.wavelength[1]: not a number"},
        {"picture not an object", withField("picture", 7), "picture: not an object"},
        {"other format", withField("format", "mandalix-params/2"),
         "format: \"mandalix-params/2\" is not \"mandalix-params/1\""},
        {"seed beyond single precision", withField("seed", 1e39),
         "seed: too large for a single-precision number"},
        {"not finite", R"({"format": "mandalix-params/1",
  "seed": 1e999})", "illegal number at line 2, column 11"},
        {"not JSON", "seed = 3", "illegal value at line 1, column 1"},
        {"not an object", "[1, 2, 3]", "not a parameters file (no JSON object)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ParamsRead read = paramsFromJson(c.json);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.message.toStdString(), c.error);
    }
}

TEST(ParamsJson_Errors, AnyFiniteValueOutsideTheDrawnRangesIsAccepted)
{
    const ParamsRead read = paramsFromJson(withField("picture.tip", -1e308));
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(read.value.picture.tip, -1e308);
    EXPECT_TRUE(paramsFromJson(withField("palette.wavelength", QJsonArray{0, -3, 1e-300})).ok);
}

struct ParamsFile_Read : ::testing::Test {
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void write(const QString& to, const QByteArray& bytes) const
    {
        QFile file(to);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writePng(const QString& to, const QString& text) const
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        if (!text.isNull())
            image.setText(QLatin1String(kParamsTextKey), text);
        ASSERT_TRUE(QImageWriter(to, "png").write(image));
    }
};

TEST_F(ParamsFile_Read, ReadsAFileAndThePngTextChunk)
{
    PictureRecord record = awkwardRecord();
    // Not Latin-1, with runs of blanks that a PNG reader would collapse unescaped.
    record.imeslike = QStringLiteral(" T  \u00e4\u6f22\u3000\u00a0 ");
    write(path("a.json"), paramsJson(record));
    writePng(path("a.png"), paramsChunkText(record));
    for (const char* name : {"a.json", "a.png"}) {
        SCOPED_TRACE(name);
        const ParamsRead read = readParamsFile(path(name));
        ASSERT_TRUE(read.ok) << read.message.toStdString();
        EXPECT_EQ(read.value.picture, awkwardRecord().picture);
        EXPECT_EQ(read.value.seed, 72182.25f);
        EXPECT_EQ(read.value.imeslike, record.imeslike);
    }
}

TEST_F(ParamsFile_Read, ErrorsNameThePath)
{
    write(path("bad.json"), withField("picture.baf02", "x"));
    writePng(path("plain.png"), QString());
    writePng(path("other.png"), QStringLiteral("{}"));
    write(path("huge.json"), QByteArray(kParamsFileMaxBytes + 1, ' '));
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"missing.json", "No such file or directory"},
        {"bad.json", "picture.baf02: not a number"},
        {"plain.png", "the PNG carries no \"mandalix-params\" text"},
        {"other.png", "format: missing"},
        {"huge.json", "too large for a parameters file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ParamsRead read = readParamsFile(path(c.name));
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.message, QStringLiteral("Could not read \"%1\": %2").arg(path(c.name), c.reason));
    }
    const ParamsRead folder = readParamsFile(dir.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_TRUE(folder.message.startsWith(QStringLiteral("Could not read \"%1\": ").arg(dir.path())));
}

} // namespace
} // namespace mandalix
