// The one message box of the window's failures (a save that could not be made). A box
// that is open takes later failures as further lines instead of a second box, and it is
// not modal, so "exit" and closing the window keep working while it is open. Owned by
// the window, GUI thread only; it never fails.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace mandalix {

class FailureBox {
public:
    explicit FailureBox(QWidget& parent) : m_parent(parent) { }
    FailureBox(const FailureBox&) = delete;
    FailureBox& operator=(const FailureBox&) = delete;

    // Shows the failure: in a new box, or below those the open box already shows.
    void show(const QString& text);
    // Closes the box, if open.
    void close();

private:
    QWidget& m_parent;
    QPointer<QMessageBox> m_box;
};

} // namespace mandalix
