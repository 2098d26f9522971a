#include "children_files.h"

#include "output/output_files.h"
#include "variations/breeding.h"
#include "variations/mutation.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace mandalix {

std::vector<NamedChild> variationChildren(const PictureRecord& parent, int count, float seed, double strength,
                                          Locks locks, const QDateTime& moment)
{
    const auto width = static_cast<int>(QString::number(count).size());
    std::vector<NamedChild> named;
    int number = 0;
    for (PictureRecord& child : children(parent, count, seed, strength, locks)) {
        ++number;
        named.push_back({QStringLiteral("variation-%1").arg(number, width, 10, QLatin1Char('0')),
                         bornAt(std::move(child), moment)});
    }
    return named;
}

std::vector<NamedChild> bredChildren(const PictureRecord& a, const PictureRecord& b, const QDateTime& moment)
{
    std::vector<PictureRecord> row = breed(a, b);
    Q_ASSERT(row.size() == kGroupCount + kBlendPlaces.size());
    std::vector<NamedChild> named;
    for (std::size_t k = 0; k < row.size(); ++k) {
        const QString stem = k < kGroupCount
            ? QStringLiteral("crossover-") + groupName(static_cast<Group>(k))
            : QStringLiteral("blend-%1").arg(std::lround(kBlendPlaces[k - kGroupCount] * 100));
        named.push_back({stem, bornAt(std::move(row[k]), moment)});
    }
    return named;
}

Result<> checkOutDir(const QString& dir, const std::vector<NamedChild>& made)
{
    const QFileInfo info(dir);
    if (!info.exists() || !info.isDir())
        return WriteResult::failure(QStringLiteral("Could not write into \"%1\": %2")
                                        .arg(dir, info.exists() ? QStringLiteral("not a folder")
                                                                : QStringLiteral("no such folder")));
    for (const NamedChild& child : made)
        for (const char* suffix : {".png", ".json"})
            if (const WriteResult usable = checkOutputPath(QDir(dir).filePath(child.stem + suffix)); !usable.ok)
                return usable;
    return WriteResult::success();
}

} // namespace mandalix
