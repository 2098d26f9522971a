#include "output/favourites_store.h"

#include <QFileInfo>

#include <algorithm>

namespace mandalix {

FavouritesStore::FavouritesStore(QString path) : m_path(std::move(path))
{
    Result<Favourites> read = readFavourites(m_path);
    if (read.ok)
        m_favourites = std::move(read.value);
    else
        m_loadMessage = read.message;
}

Result<> FavouritesStore::refusal() const
{
    return Result<>::failure(
        QStringLiteral("The favourites file is damaged and was left alone; nothing was changed. %1").arg(m_loadMessage));
}

Result<> FavouritesStore::commit(Favourites changed)
{
    if (isDamaged())
        return refusal();
    const Result<> written = writeFavourites(m_path, changed);
    if (written.ok)
        m_favourites = std::move(changed);
    return written;
}

Result<QString> FavouritesStore::add(const QString& name, const PaletteWaves& waves)
{
    const QString kept = unusedName(name.trimmed().isEmpty() ? QStringLiteral("palette") : name, m_favourites);
    Favourites changed = m_favourites;
    changed.push_back({kept, waves});
    const Result<> written = commit(std::move(changed));
    return written.ok ? Result<QString>::success(kept) : Result<QString>::failure(written.message);
}

Result<> FavouritesStore::rename(int index, const QString& name)
{
    if (!isIndex(index))
        return Result<>::failure(QStringLiteral("No favourite is chosen."));
    if (name.trimmed().isEmpty())
        return Result<>::failure(QStringLiteral("A favourite needs a name."));
    for (int k = 0; k < static_cast<int>(m_favourites.size()); ++k)
        if (k != index && m_favourites[static_cast<std::size_t>(k)].name == name)
            return Result<>::failure(QStringLiteral("Another favourite is called \"%1\".").arg(name));
    Favourites changed = m_favourites;
    changed[static_cast<std::size_t>(index)].name = name;
    return commit(std::move(changed));
}

Result<> FavouritesStore::remove(int index)
{
    if (!isIndex(index))
        return Result<>::failure(QStringLiteral("No favourite is chosen."));
    Favourites changed = m_favourites;
    changed.erase(changed.begin() + index);
    return commit(std::move(changed));
}

Result<int> FavouritesStore::importFrom(const QString& path)
{
    if (isDamaged())
        return Result<int>::failure(refusal().message);
    const Result<Favourites> read = readFavourites(path);
    if (!read.ok)
        return Result<int>::failure(read.message);
    Favourites changed = m_favourites;
    for (FavouritePalette favourite : read.value) {
        favourite.name = unusedName(favourite.name, changed);
        changed.push_back(std::move(favourite));
    }
    const Result<> written = commit(std::move(changed));
    return written.ok ? Result<int>::success(static_cast<int>(read.value.size()))
                      : Result<int>::failure(written.message);
}

Result<> FavouritesStore::exportTo(const QString& path, const std::vector<int>& indices) const
{
    if (isDamaged())
        return refusal();
    if (QFileInfo(path).absoluteFilePath() == QFileInfo(m_path).absoluteFilePath())
        return Result<>::failure(QStringLiteral("Export to another file than the favourites file itself."));
    std::vector<int> inOrder = indices;
    std::sort(inOrder.begin(), inOrder.end());
    Favourites chosen;
    for (const int index : inOrder)
        if (isIndex(index))
            chosen.push_back(m_favourites[static_cast<std::size_t>(index)]);
    return writeFavourites(path, indices.empty() ? m_favourites : chosen);
}

} // namespace mandalix
