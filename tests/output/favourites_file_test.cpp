// The favourite palettes' file and store: a round trip, damaged files reported and left
// alone, failed writes that leave the earlier file as it was, and imports whose names
// clash with those kept.
#include "output/favourites_store.h"

#include "output/file_size_limit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace mandalix {
namespace {

PaletteWaves waves(double shift)
{
    return {{20, 31, 39}, {0.5 + shift, 6.27, 0.0}, {20.5, 45.25 + shift, 77.75}};
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::vector<QString> namesOf(const Favourites& favourites)
{
    std::vector<QString> names;
    for (const FavouritePalette& f : favourites)
        names.push_back(f.name);
    return names;
}

struct FavouritesFileTest : ::testing::Test {
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(FavouritesFileTest, RoundTripsExactlyIntoANewFolderAndAMissingFileHasNone)
{
    EXPECT_TRUE(readFavourites(path("none.json")).ok);
    EXPECT_TRUE(readFavourites(path("none.json")).value.empty());
    const Favourites kept{{QStringLiteral("warm évening"), waves(0.1)}, {QStringLiteral("b"), waves(1.0 / 3)}};
    const QString nested = path("config/mandalix/favourite-palettes.json");
    ASSERT_TRUE(writeFavourites(nested, kept).ok);
    const Result<Favourites> read = readFavourites(nested);
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(read.value, kept) << "every double comes back bit for bit";
    EXPECT_EQ(firstFavouriteWaves(nested).value, kept[0].waves);
    ASSERT_TRUE(writeFavourites(path("empty.json"), {}).ok);
    EXPECT_FALSE(firstFavouriteWaves(path("empty.json")).ok);
}

TEST_F(FavouritesFileTest, ADamagedFileIsReportedInOneLineAndEveryChangeIsRefused)
{
    const QByteArray good = favouritesJson({{QStringLiteral("a"), waves(0)}});
    struct Row {
        const char* name;
        QByteArray text;
        const char* problem;
    };
    const std::vector<Row> rows{
        {"cut short", good.left(good.size() / 2), "damaged JSON"},
        {"no list", "{\"favourite\": []}", "no list"},
        {"text for a number", QByteArray(good).replace("20,", "\"20\","), "period[0] is not a finite number"},
        {"period zero", QByteArray(good).replace("20,", "0,"), "period[0] is not above zero"},
        {"wavelength below zero", QByteArray(good).replace("20.5,", "-20.5,"), "wavelength[0] is not above zero"},
        {"two waves", QByteArray(good).replace("6.27,", ""), "phase is not a list of three"},
        {"empty name", QByteArray(good).replace("\"a\"", "\" \""), "name is not a name"},
        {"name twice", favouritesJson({{QStringLiteral("a"), waves(0)}, {QStringLiteral("b"), waves(1)}}).replace("\"b\"", "\"a\""),
         "used twice"},
    };
    ASSERT_TRUE(parseFavourites(good).ok);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString file = path("damaged.json");
        writeBytes(file, row.text);
        const Result<Favourites> read = readFavourites(file);
        ASSERT_FALSE(read.ok);
        EXPECT_TRUE(read.message.contains(file) && read.message.contains(QLatin1String(row.problem)))
            << read.message.toStdString();
        EXPECT_FALSE(read.message.contains(QLatin1Char('\n')));

        FavouritesStore store(file);
        EXPECT_TRUE(store.isDamaged());
        writeBytes(path("other.json"), good);
        EXPECT_FALSE(store.rename(0, QStringLiteral("y")).ok);
        EXPECT_FALSE(store.importFrom(path("other.json")).ok);
        EXPECT_FALSE(store.exportTo(path("out.json"), {}).ok);
        EXPECT_TRUE(store.add(QStringLiteral("x"), waves(0)).message.contains(QLatin1String("damaged")));
        EXPECT_EQ(bytesOf(file), row.text) << "left byte for byte";
    }
}

TEST_F(FavouritesFileTest, AFailedWriteLeavesTheFileAndTheListAsTheyWere)
{
    const QString file = path("favourite-palettes.json");
    FavouritesStore store(file);
    ASSERT_TRUE(store.add(QStringLiteral("kept"), waves(0)).ok);
    const QByteArray before = bytesOf(file);
    {
        FileSizeLimit full(static_cast<rlim_t>(before.size()));
        const Result<QString> added = store.add(QStringLiteral("more"), waves(1));
        EXPECT_FALSE(added.ok);
        EXPECT_TRUE(added.message.contains(file)) << added.message.toStdString();
        EXPECT_FALSE(store.rename(0, QStringLiteral("a much longer name than the one it had")).ok);
    }
    EXPECT_EQ(bytesOf(file), before);
    EXPECT_EQ(namesOf(store.favourites()), std::vector<QString>{QStringLiteral("kept")});

    // A folder that cannot be made: the file in its way stays as it was.
    FavouritesStore blocked(file + QStringLiteral("/favourite-palettes.json"));
    EXPECT_FALSE(blocked.isDamaged());
    EXPECT_FALSE(blocked.add(QStringLiteral("x"), waves(0)).ok);
    EXPECT_TRUE(blocked.favourites().empty());
    EXPECT_EQ(bytesOf(file), before);
}

TEST_F(FavouritesFileTest, ImportRenamesClashingNamesAndExportWritesTheChosen)
{
    FavouritesStore store(path("favourite-palettes.json"));
    ASSERT_TRUE(store.add(QStringLiteral("a"), waves(0)).ok);
    ASSERT_EQ(store.add(QStringLiteral("a"), waves(1)).value, QStringLiteral("a (2)"));
    ASSERT_TRUE(writeFavourites(path("theirs.json"), {{QStringLiteral("a"), waves(2)},
                                                      {QStringLiteral("a (2)"), waves(3)},
                                                      {QStringLiteral("c"), waves(4)}}).ok);
    const Result<int> imported = store.importFrom(path("theirs.json"));
    ASSERT_TRUE(imported.ok) << imported.message.toStdString();
    EXPECT_EQ(imported.value, 3);
    const std::vector<QString> names{"a", "a (2)", "a (3)", "a (2) (2)", "c"};
    EXPECT_EQ(namesOf(store.favourites()), names);
    EXPECT_EQ(store.favourites()[2].waves, waves(2));
    EXPECT_EQ(namesOf(readFavourites(store.path()).value), names) << "the import was written";

    EXPECT_FALSE(store.rename(4, QStringLiteral("a")).ok) << "a name is one favourite's";
    ASSERT_TRUE(store.exportTo(path("out.json"), {3, 0}).ok);
    const Favourites exported = readFavourites(path("out.json")).value;
    ASSERT_EQ(exported.size(), 2u);
    EXPECT_EQ(exported[0], store.favourites()[0]);
    EXPECT_EQ(exported[1], store.favourites()[3]);
    EXPECT_FALSE(store.exportTo(store.path(), {0}).ok) << "never a part over the whole";
}

} // namespace
} // namespace mandalix
