#include "app/animation_dialog.h"

#include "app/save_as_dialog.h"
#include "output/output_files.h"
#include "surface/surface_sizes.h"
#include "video/video_format.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace mandalix {

namespace {

// Wide enough that a value out of bounds reaches the check, which names it.
constexpr int kMaxTypedSidePx = 16384;
constexpr int kMaxTypedFps = 1000;
constexpr double kMaxTypedSeconds = 100000;

QString sizeText(QSize size) { return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()); }

QSpinBox* sideBox(const char* name, const QString& accessibleName, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setRange(1, kMaxTypedSidePx);
    box->setValue(value);
    return box;
}

// A field's label, whose Alt+letter moves to `buddy` (the row around it takes no focus).
QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QWidget* rowOf(QWidget* parent, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : widgets)
        layout->addWidget(widget, widget == *widgets.begin() ? 1 : 0);
    return row;
}

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

void AnimationDialog::buildFields(const AnimationChoices& last)
{
    auto* form = new QFormLayout;
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("AnimationKind"));
    m_kind->setAccessibleName(QStringLiteral("What to export"));
    m_kind->addItems({QStringLiteral("The painting"), QStringLiteral("Colour cycling"), QStringLiteral("Morph loop")});
    m_kind->setCurrentIndex(static_cast<int>(last.kind));
    m_shownKind = last.kind;
    form->addRow(QStringLiteral("&Animation:"), m_kind);
    QWidget* sizeRow = buildSizeRow(last);
    form->addRow(labelFor(QStringLiteral("Si&ze:"), m_sizes, this), sizeRow);
    m_fps = new QSpinBox(this);
    m_fps->setObjectName(QStringLiteral("AnimationFps"));
    m_fps->setAccessibleName(QStringLiteral("Frames a second"));
    m_fps->setRange(0, kMaxTypedFps);
    m_fps->setValue(last.framesPerSecond);
    form->addRow(labelFor(QStringLiteral("&Frame rate:"), m_fps, this),
                 rowOf(this, {m_fps, new QLabel(QStringLiteral("frames a second"), this)}));
    m_seconds = new QDoubleSpinBox(this);
    m_seconds->setObjectName(QStringLiteral("AnimationSeconds"));
    m_seconds->setRange(0, kMaxTypedSeconds);
    m_seconds->setDecimals(2);
    m_secondsLabel = new QLabel(this);
    m_secondsLabel->setBuddy(m_seconds);
    form->addRow(m_secondsLabel, m_seconds);
    form->addRow(QStringLiteral("Second picture:"), buildSecondRow());
    QWidget* outputRow = buildOutputRow(QString());
    form->addRow(labelFor(QStringLiteral("&Output file:"), m_output, this), outputRow);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("AnimationProblem"));
    m_problem->setAccessibleName(QStringLiteral("Why the animation was not exported"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    m_problem->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AnimationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AnimationDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &AnimationDialog::kindChosen);
    kindChosen();
}

QWidget* AnimationDialog::buildSizeRow(const AnimationChoices& last)
{
    m_sizes = new QComboBox(this);
    m_sizes->setObjectName(QStringLiteral("AnimationSize"));
    m_sizes->setAccessibleName(QStringLiteral("Video size"));
    int chosen = static_cast<int>(m_sizeChoices.size()) - 1;
    for (int k = 0; k < static_cast<int>(m_sizeChoices.size()); ++k) {
        m_sizes->addItem(m_sizeChoices[static_cast<std::size_t>(k)].label);
        if (m_sizeChoices[static_cast<std::size_t>(k)].size == last.size)
            chosen = k;
    }
    m_sizes->setCurrentIndex(chosen);
    m_width = sideBox("AnimationWidth", QStringLiteral("Width in pixels"), last.size.width(), this);
    m_height = sideBox("AnimationHeight", QStringLiteral("Height in pixels"), last.size.height(), this);
    const auto enableSides = [this](int index) {
        const bool isTyped = index == m_sizes->count() - 1;
        m_width->setEnabled(isTyped);
        m_height->setEnabled(isTyped);
    };
    enableSides(chosen);
    connect(m_sizes, &QComboBox::currentIndexChanged, this, enableSides);
    return rowOf(this, {m_sizes, m_width, new QLabel(QStringLiteral("x"), this), m_height});
}

QWidget* AnimationDialog::buildSecondRow()
{
    m_secondName = new QLabel(QStringLiteral("none chosen"), this);
    m_secondName->setObjectName(QStringLiteral("AnimationSecondName"));
    auto* choose = new QPushButton(QStringLiteral("&Choose a file..."), this);
    choose->setObjectName(QStringLiteral("AnimationSecondChoose"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &AnimationDialog::chooseSecondFile);
    m_secondRow = rowOf(this, {m_secondName, choose});
    return m_secondRow;
}

QWidget* AnimationDialog::buildOutputRow(const QString& path)
{
    m_output = new QLineEdit(path, this);
    m_output->setObjectName(QStringLiteral("AnimationOutput"));
    m_output->setAccessibleName(QStringLiteral("Output file"));
    m_output->setMinimumWidth(360);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("AnimationBrowse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &AnimationDialog::browse);
    return rowOf(this, {m_output, browse});
}

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
    const QString problem = checkChoice();
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace mandalix
