#include "app/save_as_dialog.h"

#include "output/output_files.h"
#include "export/picture_export.h"
#include "surface/surface_sizes.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace mandalix {

namespace {

QString sizeText(QSize size) { return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()); }

QSpinBox* sideBox(const char* name, const QString& accessibleName, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setRange(1, kMaxExportSidePx);
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

QString saveAsProblem(const QString& path, QSize size)
{
    if (const QString problem = exportSizeProblem(size); !problem.isEmpty())
        return QStringLiteral("Could not save \"%1\": %2").arg(path, problem);
    const WriteResult writable = checkOutputPath(path, QStringLiteral("save"));
    return writable.ok ? QString() : writable.message;
}

void nameFileDialogFields(QFileDialog& dialog)
{
    const std::pair<const char*, const char*> names[] = {
        {"lookInCombo", "Look in folder"}, {"sidebar", "Places"},
        {"listView", "Files"},             {"treeView", "Files"},
        {"fileNameEdit", "File name"},     {"fileTypeCombo", "File type"},
    };
    for (const auto& [objectName, accessibleName] : names)
        if (auto* field = dialog.findChild<QWidget*>(QString::fromLatin1(objectName)))
            field->setAccessibleName(QString::fromLatin1(accessibleName));
}

SaveAsDialog::SaveAsDialog(QWidget* parent, const QString& folder, const QString& fileName, QSize screen)
    : QFileDialog(parent, QStringLiteral("Save as PNG"), folder, QStringLiteral("PNG pictures (*.png)"))
    , m_choices(sizeChoices(screen))
{
    setObjectName(QStringLiteral("SaveAsDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setDefaultSuffix(QStringLiteral("png"));
    selectFile(QDir(folder).filePath(fileName));
    nameFileDialogFields(*this);
    addSizeRow();
}

void SaveAsDialog::addSizeRow()
{
    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    m_sizes = new QComboBox(row);
    m_sizes->setObjectName(QStringLiteral("ExportSize"));
    m_sizes->setAccessibleName(QStringLiteral("Picture size"));
    for (const SizeChoice& choice : m_choices)
        m_sizes->addItem(choice.label);
    m_width = sideBox("ExportWidth", QStringLiteral("Width in pixels"), row);
    m_height = sideBox("ExportHeight", QStringLiteral("Height in pixels"), row);
    rowLayout->addWidget(m_sizes, 1);
    rowLayout->addWidget(m_width);
    rowLayout->addWidget(new QLabel(QStringLiteral("x"), row));
    rowLayout->addWidget(m_height);
    rowLayout->addWidget(new QLabel(QStringLiteral("(1 to %1 a side)").arg(kMaxExportSidePx), row));
    connect(m_sizes, &QComboBox::currentIndexChanged, row, [this](int index) {
        const bool isTyped = index == m_sizes->count() - 1;
        m_width->setEnabled(isTyped);
        m_height->setEnabled(isTyped);
    });
    auto* label = new QLabel(QStringLiteral("Si&ze:"), this);
    label->setBuddy(m_sizes);
    auto* note = new QLabel(QStringLiteral("Larger sizes are painted again from the picture's record;"
                                           " the help panel is an overlay and is not in them."),
                            this);
    note->setWordWrap(true);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("SaveAsProblem"));
    m_problem->setAccessibleName(QStringLiteral("Why the picture was not saved"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    m_problem->hide();
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int at = grid->rowCount();
        grid->addWidget(label, at, 0);
        grid->addWidget(row, at, 1, 1, grid->columnCount() - 1);
        grid->addWidget(note, at + 1, 0, 1, grid->columnCount());
        grid->addWidget(m_problem, at + 2, 0, 1, grid->columnCount());
    }
}

QSize SaveAsDialog::chosenSize() const
{
    const std::size_t index = static_cast<std::size_t>(m_sizes->currentIndex());
    return index + 1 == m_choices.size() ? QSize(m_width->value(), m_height->value()) : m_choices[index].size;
}

SaveAsChoice SaveAsDialog::choice() const
{
    const QStringList files = selectedFiles();
    return {files.isEmpty() ? QString() : files.constFirst(), chosenSize()};
}

QString SaveAsDialog::problem() const { return m_problem->text(); }

void SaveAsDialog::accept()
{
    const QString path = choice().path;
    // A folder typed or picked is opened by the dialog itself.
    if (path.isEmpty() || QFileInfo(path).isDir()) {
        QFileDialog::accept();
        return;
    }
    const QString problem = saveAsProblem(path, chosenSize());
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty())
        QFileDialog::accept();
}

std::optional<SaveAsChoice> askSaveAs(QWidget* parent, const QString& folder, const QString& fileName,
                                      QSize screen)
{
    SaveAsDialog dialog(parent, folder, fileName, screen);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    SaveAsChoice choice = dialog.choice();
    if (choice.path.isEmpty())
        return std::nullopt;
    return choice;
}

} // namespace mandalix
