// The one message box of the window's failures (a save that could not be made), centred
// over the window. A box that is open takes later failures as further lines instead of a
// second box, and it is not modal, so "exit" and closing the window keep working while it
// is open. Owned by the window, GUI thread only; it never fails.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace mandalix {

class FailureBox {
public:
    explicit FailureBox(QWidget& parent);
    ~FailureBox();
    FailureBox(const FailureBox&) = delete;
    FailureBox& operator=(const FailureBox&) = delete;

    // Shows the failure: in a new box, or below those the open box already shows.
    void show(const QString& text);
    // Closes the box, if open.
    void close();

    // The open box, if any.
    QMessageBox* box() const { return m_box; }

private:
    void placeOverWindow();

    class WindowWatch;

    QWidget& m_parent;
    QPointer<QMessageBox> m_box;
    // Centres the open box again when the window is resized or moved (a box that opens
    // while the window is still being placed and maximized would stay in a corner).
    std::unique_ptr<WindowWatch> m_watch;
};

} // namespace mandalix
