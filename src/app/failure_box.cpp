#include "app/failure_box.h"

#include <QEvent>
#include <QScreen>

namespace mandalix {

class FailureBox::WindowWatch final : public QObject {
public:
    explicit WindowWatch(FailureBox& box) : m_box(box) { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_box.m_box && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
            m_box.placeOverWindow();
        return QObject::eventFilter(watched, event);
    }

private:
    FailureBox& m_box;
};

FailureBox::FailureBox(QWidget& parent)
    : m_parent(parent)
    , m_watch(std::make_unique<WindowWatch>(*this))
{
    m_parent.installEventFilter(m_watch.get());
}

FailureBox::~FailureBox() { m_parent.removeEventFilter(m_watch.get()); }

void FailureBox::show(const QString& text)
{
    if (m_box) {
        m_box->setText(m_box->text() + u'\n' + text);
        return;
    }
    m_box = new QMessageBox(QMessageBox::Warning, QStringLiteral("mandalix"), text, QMessageBox::Ok, &m_parent);
    m_box->setObjectName(QStringLiteral("FailureBox"));
    m_box->setAttribute(Qt::WA_DeleteOnClose);
    m_box->setWindowModality(Qt::NonModal);
    m_box->show();
    placeOverWindow();
}

void FailureBox::close()
{
    if (m_box)
        m_box->close();
}

void FailureBox::placeOverWindow()
{
    // A box placed by the window manager alone may land in a corner of the screen, far
    // from the picture the user is looking at.
    const QWidget* window = m_parent.window();
    QRect box(QPoint(0, 0), m_box->frameGeometry().size());
    box.moveCenter(window->frameGeometry().center());
    if (const QScreen* screen = window->screen()) {
        const QRect room = screen->availableGeometry();
        box.moveRight(std::min(box.right(), room.right()));
        box.moveBottom(std::min(box.bottom(), room.bottom()));
        box.moveTopLeft(QPoint(std::max(box.left(), room.left()), std::max(box.top(), room.top())));
    }
    m_box->move(box.topLeft());
}

} // namespace mandalix
