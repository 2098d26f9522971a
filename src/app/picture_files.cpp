#include "app/picture_files.h"

#include "app/save_as_dialog.h"
#include "base/work_pool.h"
#include "output/picture_png.h"
#include "export/picture_export.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace mandalix {

namespace {

constexpr int kProgressEveryMs = 100;

CommandResult info(const QString& text) { return {CommandResult::Kind::Info, text}; }
CommandResult error(const QString& text) { return {CommandResult::Kind::Error, text}; }

QSize screenSize(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->size() * screen->devicePixelRatio() : QSize(1920, 1080);
}

} // namespace

PictureFiles::PictureFiles(Program& program, QWidget* window, QLabel* status, Post post, Show show)
    : QObject(window)
    , m_program(program)
    , m_window(window)
    , m_status(status)
    , m_post(std::move(post))
    , m_show(std::move(show))
    , m_reader([this](const QString& path, PictureRead read) {
        QMetaObject::invokeMethod(
            this, [this, path, read = std::move(read)]() mutable { finishOpen(path, read); }, Qt::QueuedConnection);
    })
{
    m_progress.setInterval(kProgressEveryMs);
    connect(&m_progress, &QTimer::timeout, this, &PictureFiles::showProgress);
}

PictureFiles::~PictureFiles() { m_reader.stop(); }

void PictureFiles::saveAs()
{
    if (m_exporter.isRunning()) {
        m_show(info(QStringLiteral("A picture is being saved; Esc cancels it")));
        return;
    }
    QString name;
    {
        std::lock_guard lock(m_program.surfaces.lock);
        name = m_program.picture.imeslike;
    }
    const auto choice = askSaveAs(m_window, m_program.drives.d, name + QStringLiteral(".png"),
                                  screenSize(m_window));
    if (choice)
        startExport(choice->path, choice->size);
}

void PictureFiles::startExport(const QString& path, QSize size)
{
    if (const QString problem = exportSizeProblem(size); !problem.isEmpty()) {
        m_show(error(QStringLiteral("Could not save \"%1\": %2").arg(path, problem)));
        return;
    }
    ExportJob job;
    job.path = path;
    job.size = size;
    job.threads = processorCount();
    {
        // The picture as it is on show now; the window may paint others meanwhile.
        std::lock_guard lock(m_program.surfaces.lock);
        job.record = m_program.picture;
        job.shown = m_program.surfaces.Picture1.image();
    }
    m_exportPath = path;
    m_exportSize = size;
    (void)m_exporter.start(std::move(job), [this](const PictureWrite& result) {
        QMetaObject::invokeMethod(this, [this, result] { finishExport(result); }, Qt::QueuedConnection);
    });
    showProgress();
    m_progress.start();
}

void PictureFiles::showProgress()
{
    const long long rows = std::max(1LL, m_exporter.rows());
    const long long done = m_exporter.rowsDone();
    const QString name = QDir::toNativeSeparators(m_exportPath);
    const QString size = QStringLiteral("%1 x %2").arg(m_exportSize.width()).arg(m_exportSize.height());
    m_status->setText(done < rows ? QStringLiteral("Painting %1 at %2: %3% (Esc cancels)").arg(name, size).arg(done * 100 / rows)
                                  : QStringLiteral("Writing %1 at %2 (Esc cancels)").arg(name, size));
}

void PictureFiles::finishExport(const PictureWrite& result)
{
    m_progress.stop();
    m_status->clear();
    if (result.value.isCancelled)
        m_show(info(QStringLiteral("Save as cancelled; no file was written")));
    else if (!result.ok)
        m_show(error(result.message));
    else
        m_show(info(QStringLiteral("Saved %1").arg(QDir::toNativeSeparators(m_exportPath))));
}

void PictureFiles::cancelExport()
{
    if (!m_exporter.isRunning())
        return;
    m_exporter.cancel();
    m_progress.stop();
    m_status->setText(QStringLiteral("Cancelling the save of %1").arg(QDir::toNativeSeparators(m_exportPath)));
}

void PictureFiles::open()
{
    QFileDialog dialog(m_window, QStringLiteral("Open a picture"), m_program.drives.d,
                       QStringLiteral("PNG pictures (*.png)"));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    nameFileDialogFields(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        openPath(dialog.selectedFiles().constFirst());
}

void PictureFiles::openPath(const QString& path)
{
    m_reader.read(QFileInfo(path).absoluteFilePath());
}

void PictureFiles::finishOpen(const QString& path, PictureRead& read)
{
    if (!read.ok) {
        m_show(error(read.message));
        return;
    }
    m_post(cmd::Open{path, std::move(read.value.record), std::move(read.value.pixels)});
}

} // namespace mandalix
