#include "app/animation_dialog.h"

#include "app/save_as_dialog.h"
#include "output/output_files.h"
#include "surface/surface_sizes.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace mandalix {

namespace {

QString sizeText(QSize size) { return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()); }

} // namespace

std::vector<VideoSizeChoice> videoSizeChoices()
{
    const QSize window(kPictureSizePx, kPictureSizePx);
    std::vector<VideoSizeChoice> choices{{QStringLiteral("Window picture, %1").arg(sizeText(window)), window}};
    for (const auto& [name, size] : {std::pair{"720p", QSize(1280, 720)}, std::pair{"1080p", QSize(1920, 1080)},
                                     std::pair{"4K", QSize(3840, 2160)}})
        choices.push_back({QStringLiteral("%1, %2").arg(QString::fromLatin1(name), sizeText(size)), size});
    choices.push_back({QStringLiteral("Other size: width and height"), QSize()});
    return choices;
}

AnimationDialog::AnimationDialog(QWidget* parent, const AnimationChoices& last, const QString& folder,
                                 const QString& fileName)
    : QDialog(parent)
    , m_sizeChoices(videoSizeChoices())
    , m_holdSeconds(last.holdSeconds)
    , m_loopSeconds(last.loopSeconds)
    , m_defaultFolder(folder)
    , m_reader([this](const QString& path, PictureRead read) {
        QMetaObject::invokeMethod(
            this, [this, path, read = std::move(read)]() mutable { secondRead(path, read); }, Qt::QueuedConnection);
    })
{
    setObjectName(QStringLiteral("AnimationDialog"));
    setWindowTitle(QStringLiteral("Export an animation"));
    buildFields(last);
    const QString base = last.folder.isEmpty() ? folder : last.folder;
    m_output->setText(QDir(base).filePath(QStringLiteral("%1.%2").arg(fileName, last.suffix)));
}

AnimationDialog::~AnimationDialog() { m_reader.stop(); }


// Each kind keeps its own seconds: the painting's hold and the loops' length differ.
void AnimationDialog::kindChosen()
{
    const auto kind = static_cast<AnimationKind>(m_kind->currentIndex());
    if (m_secondsLabel->text().isEmpty())
        m_seconds->setValue(kind == AnimationKind::Painting ? m_holdSeconds : m_loopSeconds);
    else if ((m_shownKind == AnimationKind::Painting) != (kind == AnimationKind::Painting)) {
        (m_shownKind == AnimationKind::Painting ? m_holdSeconds : m_loopSeconds) = m_seconds->value();
        m_seconds->setValue(kind == AnimationKind::Painting ? m_holdSeconds : m_loopSeconds);
    }
    m_shownKind = kind;
    const bool isPainting = kind == AnimationKind::Painting;
    m_secondsLabel->setText(isPainting ? QStringLiteral("&Hold the finished picture (s):")
                                       : QStringLiteral("&Length of the loop (s):"));
    m_seconds->setAccessibleName(isPainting ? QStringLiteral("Seconds the finished picture is held")
                                            : QStringLiteral("Seconds one round of the loop lasts"));
    m_secondRow->setEnabled(kind == AnimationKind::Morph);
}

void AnimationDialog::browse()
{
    QFileDialog dialog(this, QStringLiteral("Export the animation to"), QFileInfo(path()).absolutePath(),
                       QStringLiteral("Videos (*.webm *.mp4 *.png)"));
    dialog.setObjectName(QStringLiteral("AnimationBrowseDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(path());
    nameFileDialogFields(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_output->setText(dialog.selectedFiles().constFirst());
}

void AnimationDialog::chooseSecondFile()
{
    QFileDialog dialog(this, QStringLiteral("The morph's second picture"), QFileInfo(path()).absolutePath(),
                       QStringLiteral("PNG pictures (*.png)"));
    dialog.setObjectName(QStringLiteral("AnimationSecondDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    nameFileDialogFields(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        readSecondPicture(dialog.selectedFiles().constFirst());
}

void AnimationDialog::readSecondPicture(const QString& path)
{
    m_secondName->setText(QStringLiteral("reading %1...").arg(QFileInfo(path).fileName()));
    m_reader.read(QFileInfo(path).absoluteFilePath());
}

void AnimationDialog::secondRead(const QString& path, PictureRead& read)
{
    if (!read.ok) {
        m_secondName->setText(m_second ? m_second->name : QStringLiteral("none chosen"));
        m_problem->setText(read.message);
        m_problem->show();
        return;
    }
    setSecondPicture({std::move(read.value.record), QFileInfo(path).fileName()});
}

void AnimationDialog::setSecondPicture(const SecondPicture& second)
{
    m_second = second;
    m_secondName->setText(second.name);
    m_kind->setCurrentIndex(static_cast<int>(AnimationKind::Morph));
}

QSize AnimationDialog::chosenSize() const
{
    const auto index = static_cast<std::size_t>(m_sizes->currentIndex());
    return index + 1 == m_sizeChoices.size() ? QSize(m_width->value(), m_height->value()) : m_sizeChoices[index].size;
}

AnimationSettings AnimationDialog::settings() const
{
    return {static_cast<AnimationKind>(m_kind->currentIndex()), chosenSize(), m_fps->value(), m_seconds->value()};
}

QString AnimationDialog::path() const { return m_output->text().trimmed(); }

AnimationChoices AnimationDialog::choices() const
{
    const AnimationSettings chosen = settings();
    const bool isPainting = chosen.kind == AnimationKind::Painting;
    const QFileInfo file(path());
    return {chosen.kind,
            chosen.size,
            chosen.framesPerSecond,
            isPainting ? chosen.seconds : m_holdSeconds,
            isPainting ? m_loopSeconds : chosen.seconds,
            file.absolutePath(),
            file.suffix().toLower()};
}

QString AnimationDialog::problem() const { return m_problem->isHidden() ? QString() : m_problem->text(); }

QString AnimationDialog::checkChoice() const
{
    if (path().isEmpty())
        return QStringLiteral("Name the file to write the animation to");
    if (const Result<> checked = checkAnimationSettings(settings(), path()); !checked.ok)
        return checked.message;
    if (settings().kind == AnimationKind::Morph && !m_second)
        return QStringLiteral("Choose the second picture of the morph loop");
    const WriteResult writable = checkOutputPath(path(), QStringLiteral("write"));
    return writable.ok ? QString() : writable.message;
}

void AnimationDialog::accept()
{
    const QFileInfo folder(m_defaultFolder);
    if (!m_defaultFolder.isEmpty() && !folder.exists() && QFileInfo(path()).absolutePath() == folder.absoluteFilePath())
        QDir().mkpath(m_defaultFolder); // a folder that cannot be made is told below
    const QString problem = checkChoice();
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace mandalix
