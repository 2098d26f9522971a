// A record's view in the parameters file: written only when zoomed, read back to the bit
// from both the file and the PNG text, absent read as the start's, refused when it is not
// one square window within the bounds.
#include "output/params_view.h"

#include "output/params_file.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstring>

namespace mandalix {
namespace {

PictureRecord recordAt(double view)
{
    PictureRecord record;
    record.seed = 36000.5f;
    record.imeslike = QStringLiteral("T20261209100000");
    record.moment = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0, 500));
    record.picture.n1 = 12.5;
    record.view = view;
    return record;
}

// The record as the PNG text chunk carries it, read back from the PNG's bytes.
ParamsRead throughPng(const PictureRecord& record)
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::black);
    image.setText(QLatin1String(kParamsTextKey), paramsChunkText(record));
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    EXPECT_TRUE(QImageWriter(&buffer, "png").write(image));
    buffer.seek(0);
    return paramsFromDevice(buffer);
}

TEST(ParamsView_RoundTrip, AViewGoesThroughBothFormsToTheBitAndNoneReadsAsTheStart)
{
    for (const double view : {0.1 + 0.2, kMinView, kMaxView, 1.5}) {
        SCOPED_TRACE(view);
        const PictureRecord record = recordAt(view);
        for (const ParamsRead& read : {paramsFromJson(paramsJson(record)), throughPng(record)}) {
            ASSERT_TRUE(read.ok) << read.message.toStdString();
            EXPECT_EQ(read.value, record);
            EXPECT_EQ(std::memcmp(&read.value.view, &view, sizeof view), 0);
        }
        QJsonObject root = QJsonDocument::fromJson(paramsJson(record)).object();
        EXPECT_EQ(root.value("polx").toDouble(), view);
        EXPECT_EQ(root.value("poly").toDouble(), view);
        root.remove("polx");
        root.remove("poly");
        const ParamsRead without = paramsFromJson(QJsonDocument(root).toJson());
        ASSERT_TRUE(without.ok) << without.message.toStdString();
        EXPECT_EQ(without.value.view, kStartView);
    }
    // The start's view adds nothing: a drawn picture's file is as it was.
    EXPECT_EQ(paramsJson(recordAt(kStartView)).indexOf("pol"), -1);
}

// The JSON of a record with the view's fields set as given; undefined leaves one out.
QByteArray withView(const QJsonValue& polx, const QJsonValue& poly)
{
    QJsonObject root = QJsonDocument::fromJson(paramsJson(recordAt(kStartView))).object();
    for (const auto& [key, value] : {std::pair{"polx", polx}, std::pair{"poly", poly}})
        if (!value.isUndefined())
            root.insert(QLatin1String(key), value);
    return QJsonDocument(root).toJson();
}

TEST(ParamsView_Errors, NameTheFieldAndTheReason)
{
    const QJsonValue none(QJsonValue::Undefined);
    const char* range = "is out of range (1e-06 to 1e+06, the half-extent of the view)";
    const struct {
        const char* name;
        QByteArray json;
        QString error;
    } cases[] = {
        {"view of nothing", withView(0, 0), QStringLiteral("polx: 0 %1").arg(range)},
        {"too wide", withView(2e6, 2e6), QStringLiteral("polx: 2e+06 %1").arg(range)},
        {"turned over", withView(-3, -3), QStringLiteral("polx: -3 %1").arg(range)},
        {"poly too narrow", withView(1, 9.99e-7), QStringLiteral("poly: 9.99e-07 %1").arg(range)},
        {"a text", withView("2", "2"), "polx: not a number"},
        {"poly of nothing", withView(2, QJsonValue::Null), "poly: not a number"},
        {"polx left out", withView(none, 2), "polx: missing (a view gives both polx and poly)"},
        {"poly left out", withView(2, none), "poly: missing (a view gives both polx and poly)"},
        {"uneven", withView(2, 3), "polx and poly differ (2 and 3); a view is square"},
        {"nearly square", withView(0.1 + 0.2, 0.3),
         "polx and poly differ (0.30000000000000004 and 0.3); a view is square"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ParamsRead read = paramsFromJson(c.json);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.message, c.error);
    }
}

} // namespace
} // namespace mandalix
