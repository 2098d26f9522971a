// The sheet of keys: every key of the window and of the slide show with what it does,
// made from the key tables, in a window of its own beside the picture (the help panel
// painted over the picture stays as it is). Esc closes it. Owned by Form1 as its child;
// GUI thread only; it cannot fail.
#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QTableWidget;

namespace mandalix {

// One line of the sheet: the key as the user reads it and what it does, or a heading
// (no key) that opens a section.
struct KeysSheetRow {
    QString key;
    QString does;
};

// The lines of the sheet, from the key tables, in their order: the buttons' keys, the
// window's other keys, then the slide show's.
std::vector<KeysSheetRow> keysSheetRows();

class KeysSheet : public QDialog {
    Q_OBJECT
public:
    explicit KeysSheet(QWidget* parent);

    // Shows the sheet beside `picture` (a widget of the window), or raises it when shown.
    void showBeside(const QWidget& picture);

    const QTableWidget& table() const { return *m_table; }

private:
    QTableWidget* m_table = nullptr;
};

} // namespace mandalix
