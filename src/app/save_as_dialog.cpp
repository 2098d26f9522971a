#include "app/save_as_dialog.h"

#include "program/picture_export.h"
#include "surface/surface_sizes.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace mandalix {

namespace {

constexpr int kLargestTypedSide = 99999; // larger than allowed, so the check can say so

QString sizeText(QSize size) { return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()); }

QSpinBox* sideBox(const char* name, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, kLargestTypedSide);
    box->setValue(kPictureSizePx);
    box->setEnabled(false);
    return box;
}

} // namespace

std::vector<SizeChoice> sizeChoices(QSize screen)
{
    const QSize window(kPictureSizePx, kPictureSizePx);
    std::vector<SizeChoice> choices{{QStringLiteral("Window picture, %1").arg(sizeText(window)), window}};
    for (int scale = 2; scale <= kMaxScale; ++scale)
        choices.push_back({QStringLiteral("%1x, %2").arg(scale).arg(sizeText(window * scale)), window * scale});
    choices.push_back({QStringLiteral("Screen, %1").arg(sizeText(screen)), screen});
    choices.push_back({QStringLiteral("Width and height"), QSize()});
    return choices;
}

std::optional<SaveAsChoice> askSaveAs(QWidget* parent, const QString& folder, const QString& fileName,
                                      QSize screen)
{
    QFileDialog dialog(parent, QStringLiteral("Save as PNG"), folder,
                       QStringLiteral("PNG pictures (*.png)"));
    dialog.setObjectName(QStringLiteral("SaveAsDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(QDir(folder).filePath(fileName));

    const std::vector<SizeChoice> choices = sizeChoices(screen);
    auto* row = new QWidget(&dialog);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    auto* sizes = new QComboBox(row);
    sizes->setObjectName(QStringLiteral("ExportSize"));
    for (const SizeChoice& choice : choices)
        sizes->addItem(choice.label);
    auto* width = sideBox("ExportWidth", row);
    auto* height = sideBox("ExportHeight", row);
    rowLayout->addWidget(sizes, 1);
    rowLayout->addWidget(width);
    rowLayout->addWidget(new QLabel(QStringLiteral("x"), row));
    rowLayout->addWidget(height);
    QObject::connect(sizes, &QComboBox::currentIndexChanged, row, [=](int index) {
        const bool isTyped = index == sizes->count() - 1;
        width->setEnabled(isTyped);
        height->setEnabled(isTyped);
    });
    auto* label = new QLabel(QStringLiteral("Si&ze:"), &dialog);
    label->setBuddy(sizes);
    auto* note = new QLabel(QStringLiteral("Larger sizes are painted again from the picture's record;"
                                           " the help panel is an overlay and is not in them."),
                            &dialog);
    note->setWordWrap(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int at = grid->rowCount();
        grid->addWidget(label, at, 0);
        grid->addWidget(row, at, 1, 1, grid->columnCount() - 1);
        grid->addWidget(note, at + 1, 0, 1, grid->columnCount());
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const std::size_t index = static_cast<std::size_t>(sizes->currentIndex());
    const QSize size = index + 1 == choices.size() ? QSize(width->value(), height->value())
                                                   : choices[index].size;
    return SaveAsChoice{dialog.selectedFiles().constFirst(), size};
}

} // namespace mandalix
