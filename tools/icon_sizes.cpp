// mandalix-icon-sizes: a build-time tool that turns one picture painted by
// mandalix-render into the program's icon set, one square PNG per size, at
// OUTDIR/<size>x<size>/apps/mandalix.png (the layout of an icon theme). Not installed.
// Exit status 0 when every size was written, 1 otherwise, with one line on standard error.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>

#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "mandalix-icon-sizes: %s\n", qPrintable(message));
    return 1;
}

// The picture cut to the largest centred square, scaled with smoothing.
QImage iconOf(const QImage& picture, int sizePx)
{
    const int side = qMin(picture.width(), picture.height());
    const QImage square = picture.copy((picture.width() - side) / 2, (picture.height() - side) / 2, side, side);
    return square.scaled(sizePx, sizePx, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool writePng(const QImage& image, const QString& path, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "png") || !file.commit()) {
        error = QStringLiteral("Could not write \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4)
        return fail(QStringLiteral("usage: mandalix-icon-sizes PICTURE OUTDIR SIZE..."));
    QImageReader reader(arguments[1]);
    const QImage picture = reader.read();
    if (picture.isNull())
        return fail(QStringLiteral("Could not read \"%1\": %2").arg(arguments[1], reader.errorString()));
    for (const QString& argument : arguments.mid(3)) {
        bool isNumber = false;
        const int sizePx = argument.toInt(&isNumber);
        if (!isNumber || sizePx < 1 || sizePx > 1024)
            return fail(QStringLiteral("\"%1\" is not an icon size (1 to 1024)").arg(argument));
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[2]).arg(sizePx);
        QString error;
        if (!QDir().mkpath(folder))
            return fail(QStringLiteral("Could not create \"%1\"").arg(folder));
        if (!writePng(iconOf(picture, sizePx), folder + QStringLiteral("/mandalix.png"), error))
            return fail(error);
    }
    return 0;
}
