// The Save as dialog: a file dialog (Qt's own, not the desktop's, so that it looks and
// behaves the same everywhere) with a choice of the picture's size below it. It accepts
// only a size of 1 to 16384 a side and a file that can be written, and says in the dialog
// why not, so nothing is painted for a save that cannot be made. GUI thread only.
#pragma once

#include <QFileDialog>
#include <QSize>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QSpinBox;

namespace mandalix {

struct SaveAsChoice {
    QString path;
    QSize size;
};

// The sizes offered, in the order of the list: the window's picture, 2x to 16x its
// density, the screen's size, then a width and height typed in (an empty size here).
struct SizeChoice {
    QString label;
    QSize size;
};
std::vector<SizeChoice> sizeChoices(QSize screen);

// Why a picture of `size` cannot be saved at `path`, checked before anything is painted:
// `Could not save "<path>": <reason>`. Empty when it can (the write itself still decides).
QString saveAsProblem(const QString& path, QSize size);

// Names every field of a file dialog for screen readers.
void nameFileDialogFields(QFileDialog& dialog);

class SaveAsDialog : public QFileDialog {
    Q_OBJECT
public:
    // Starts in `folder` with `fileName` selected; `screen` is the screen's size in pixels.
    SaveAsDialog(QWidget* parent, const QString& folder, const QString& fileName, QSize screen);

    // The file and size chosen; meaningful once accepted.
    SaveAsChoice choice() const;
    // Why the last OK did not save; empty when there was no such OK.
    QString problem() const;

public slots:
    // Accepts only a choice that can be saved; else says why in the dialog and stays.
    void accept() override;

private:
    QSize chosenSize() const;
    void addSizeRow();

    std::vector<SizeChoice> m_choices;
    QComboBox* m_sizes = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QLabel* m_problem = nullptr;
};

// Asks where to save and at what size, starting in `folder` with `fileName` selected.
// Empty when the user cancelled.
std::optional<SaveAsChoice> askSaveAs(QWidget* parent, const QString& folder, const QString& fileName,
                                      QSize screen);

} // namespace mandalix
