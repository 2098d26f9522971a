#include "output/params_file.h"
#include "state/window_state.h"

#include "surface/colour.h"

#include <QFile>
#include <QtEndian>
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

#include <algorithm>
#include <sys/stat.h>
#include <zlib.h>

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
    record.moment = QDateTime(QDate(2026, 12, 7), QTime(20, 3, 2, 250));
    record.isRepeat = true;
    record.replacements = {{0x0A0B0C, kWhite}, {kBlack, 0x123456}, {kWhite, kWhite}};
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
    EXPECT_EQ(read.value, written) << "the whole record, moment and recolourings included";
}

TEST(ParamsJson_RoundTrip, AnOlderFileWithoutTheHistoryFieldsReadsAsAFreshPicture)
{
    QJsonObject root = QJsonDocument::fromJson(paramsJson(awkwardRecord())).object();
    for (const char* key : {"moment", "repeat", "replacements"})
        root.remove(QLatin1String(key));
    const ParamsRead read = paramsFromJson(QJsonDocument(root).toJson());
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_FALSE(read.value.isRepeat);
    EXPECT_TRUE(read.value.replacements.empty());
    EXPECT_EQ(read.value.moment, QDateTime(QDate(2026, 12, 7), QTime(20, 3, 2))) << "from the name";
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
    // A picture at the start's view is written as files were before views were kept.
    EXPECT_FALSE(root.contains("polx"));
    EXPECT_FALSE(root.contains("poly"));
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

QJsonArray manyReplacements(qsizetype count)
{
    QJsonArray list;
    for (qsizetype k = 0; k < count; ++k)
        list.append(QJsonObject{{"from", static_cast<int>(k)}, {"to", static_cast<int>(k + 1)}});
    return list;
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
        {"no generation type", withField("nac", 5), "nac: 5 is not a generation type 1 to 4"},
        {"between generation types", withField("nac", 2.5), "nac: 2.5 is not a generation type 1 to 4"},
        {"number for a text", withField("imeslike", 3), "imeslike: not a text"},
        {"short wave", withField("palette.period", QJsonArray{20, 30}),
         "palette.period: not a list of three numbers (red, green, blue)"},
        {"wave of texts", withField("palette.wavelength", QJsonArray{20, "x", 30}),
         "palette.wavelength[1]: not a number"},
        {"picture not an object", withField("picture", 7), "picture: not an object"},
        {"other format", withField("format", "mandalix-params/2"),
         "format: \"mandalix-params/2\" is not \"mandalix-params/1\""},
        {"seed beyond single precision", withField("seed", 1e39),
         "seed: out of range (seconds since midnight, 0 to under 86400)"},
        {"seed of no day", withField("seed", 1.2e29), "seed: out of range (seconds since midnight, 0 to under 86400)"},
        {"negative seed", withField("seed", -0.5), "seed: out of range (seconds since midnight, 0 to under 86400)"},
        {"seed rounding up to a day", withField("seed", 86399.999),
         "seed: out of range (seconds since midnight, 0 to under 86400)"},
        {"name of digits", withField("imeslike", "5"), "imeslike: \"5\" is not T and 14 digits (the picture's name)"},
        {"name one digit short", withField("imeslike", "T2026120720030"),
         "imeslike: \"T2026120720030\" is not T and 14 digits (the picture's name)"},
        {"format of lines", withField("format", "a\nb\nc"), "format: \"a b c\" is not \"mandalix-params/1\""},
        {"format of 500,000 characters", withField("format", QString(500000, u'x')),
         "format: \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" is not \"mandalix-params/1\""},
        {"a bitmap", QByteArray("BM\x36\x10\0\0\0\0\0\0\x36\0\0\0", 14),
         "neither a mandalix parameters file nor a PNG written by mandalix"},
        {"empty", "", "neither a mandalix parameters file nor a PNG written by mandalix"},
        {"not finite", R"({"format": "mandalix-params/1",
  "seed": 1e999})", "illegal number at line 2, column 11"},
        {"not JSON", "seed = 3", "neither a mandalix parameters file nor a PNG written by mandalix"},
        {"broken JSON", "{\"seed\" = 3}", "missing name separator at line 1, column 10"},
        {"not an object", "[1, 2, 3]", "not a parameters file (no JSON object)"},
        {"bad moment", withField("moment", "yesterday"), "moment: not a date and time"},
        {"repeat not a flag", withField("repeat", 1), "repeat: not true or false"},
        {"replacements not a list", withField("replacements", 5), "replacements: not a list"},
        {"colour beyond 24 bits", withField("replacements", QJsonArray{QJsonObject{{"from", 1}, {"to", 16777216}}}),
         "replacements[0]: not a pair of colours \"from\" and \"to\" (0 to 16777215)"},
        {"fractional colour", withField("replacements", QJsonArray{QJsonObject{{"from", 1}, {"to", 2}}, QJsonObject{{"from", 0.5}, {"to", 2}}}),
         "replacements[1]: not a pair of colours \"from\" and \"to\" (0 to 16777215)"},
        {"one recolouring too many", withField("replacements", manyReplacements(kParamsMaxReplacements + 1)),
         "replacements: 1001 recolourings, more than the 1000 a picture may carry"},
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
    const ParamsRead most = paramsFromJson(withField("replacements", manyReplacements(kParamsMaxReplacements)));
    ASSERT_TRUE(most.ok) << most.message.toStdString();
    EXPECT_EQ(most.value.replacements.size(), std::size_t{kParamsMaxReplacements});

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
    const PictureRecord record = awkwardRecord();
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

// The chunks of a PNG, each whole (length, type, data, CRC), after the signature.
QList<QByteArray> chunksOf(const QByteArray& png)
{
    QList<QByteArray> chunks;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = static_cast<qsizetype>(qFromBigEndian<quint32>(png.constData() + at));
        chunks << png.mid(at, length + 12);
        at += length + 12;
    }
    return chunks;
}

// Only a regular file is read, and a PNG's chunk of text is found wherever it lies, or
// its damage is named.
TEST_F(ParamsFile_Read, RefusesDevicesAndNamesWhatIsWrongWithAPng)
{
    writePng(path("a.png"), paramsChunkText(awkwardRecord()));
    QFile written(path("a.png"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray png = written.readAll();
    QList<QByteArray> chunks = chunksOf(png);
    const auto text = std::find_if(chunks.begin(), chunks.end(), [](const QByteArray& c) { return c.mid(4, 4).endsWith("TXt"); });
    ASSERT_NE(text, chunks.end());
    const QByteArray textChunk = *text;
    chunks.erase(text);
    const QByteArray signature = png.left(8);
    // The text after the image data, just before the end.
    write(path("late.png"), signature + chunks.mid(0, chunks.size() - 1).join() + textChunk + chunks.back());
    QByteArray damaged = textChunk;
    damaged[10] = static_cast<char>(damaged[10] ^ 1); // in the key
    damaged[damaged.size() - 6] = static_cast<char>(damaged[damaged.size() - 6] ^ 1); // in the text
    write(path("crc.png"), signature + chunks.front() + damaged + chunks.mid(1).join());
    write(path("cut.png"), signature + chunks.front() + textChunk.left(textChunk.size() / 2));
    write(path("cut-late.png"), signature + chunks.mid(0, 2).join().chopped(5));
    // Seventeen other texts of 1 MiB before the record: more than a reader walks.
    QByteArray other = QByteArray("tEXtother", 9) + '\0' + QByteArray(kParamsFileMaxBytes - 6, 'x');
    const quint32 otherCrc = static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(other.constData()), static_cast<uInt>(other.size())));
    QByteArray otherChunk(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(other.size() - 4), otherChunk.data());
    QByteArray crcBytes(4, '\0');
    qToBigEndian<quint32>(otherCrc, crcBytes.data());
    otherChunk += other + crcBytes;
    write(path("texts.png"), signature + chunks.front() + otherChunk.repeated(17) + textChunk + chunks.mid(1).join());
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);

    EXPECT_TRUE(readParamsFile(path("late.png")).ok) << readParamsFile(path("late.png")).message.toStdString();
    const struct {
        QString file;
        const char* reason;
    } cases[] = {
        {path("crc.png"), "the PNG's zTXt chunk is damaged (CRC error)"},
        {path("cut.png"), "the PNG is truncated"},
        {path("cut-late.png"), "the PNG is truncated"},
        {path("texts.png"), "the PNG's \"mandalix-params\" text lies behind more than 16 MiB of other texts"},
        {path("fifo"), "not a regular file"},
        {QStringLiteral("/dev/zero"), "not a regular file"},
        {QStringLiteral("/dev/urandom"), "not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const ParamsRead read = readParamsFile(c.file);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.message.toStdString(), QStringLiteral("Could not read \"%1\": %2").arg(c.file, c.reason).toStdString());
    }
}

} // namespace
} // namespace mandalix
