// Any bytes as a file in the history folder under a kept picture's name, read as the
// history reads each file of its folder (readKeptPicture) when it starts and when a kept
// picture is restored: never a crash. A file left alone gets one line naming its path; a
// picture read has the pixels of Picture1's size and a thumbnail of the panel's.
#include "history/history_folder.h"
#include "surface/surface_sizes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Qt's PNG reader warns of each damage it meets; the fuzzer's log needs only its own.
    [[maybe_unused]] static const QtMessageHandler quiet =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QTemporaryDir folder;
    // The name of the kept picture in the corpus, so that one reads whole.
    static const QString name = QStringLiteral("T20261209032842");
    static const QString path = folder.filePath(name + QStringLiteral(".png"));
    {
        QFile file(path);
        if (!folder.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size))
                != static_cast<qint64>(size))
            __builtin_trap(); // the fuzzer's own folder, not the input
    }
    const mandalix::KeptRead read = mandalix::readKeptPicture(path);
    if (!read.ok) {
        const QString start = QStringLiteral("Skipped \"%1\": ").arg(QDir::toNativeSeparators(path));
        if (!read.message.startsWith(start) || read.message.size() == start.size()
            || read.message.contains(u'\n') || read.message.contains(u'\r'))
            __builtin_trap();
        return 0;
    }
    const QSize picture(mandalix::kPictureSizePx, mandalix::kPictureSizePx);
    if (read.value.pixels.size() != picture || read.value.pixels.format() != QImage::Format_RGB32
        || read.value.record.imeslike != name)
        __builtin_trap();
    if (mandalix::thumbnailOf(read.value.pixels).size() != QSize(mandalix::kThumbnailPx, mandalix::kThumbnailPx))
        __builtin_trap();
    return 0;
}
