// Form1's colour cycling: Y starts it over the picture on show and stops it; any other key
// or any command stops it first, and so does a change of Picture1. The picture itself is
// never changed.
#include "app/form1.h"

#include "app/colour_cycle_view.h"

#include <QApplication>
#include <QKeyEvent>

namespace mandalix {

namespace {

// While colours cycle: the first key pressed anywhere in the program stops them. Y is
// taken (it would start them again); any other key then does what it does.
class StopOnKey final : public QObject {
public:
    explicit StopOnKey(Form1& form) : QObject(&form), m_form(form) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (m_form.isCyclingColours() && !key->isAutoRepeat()) {
                m_form.stopCyclingColours();
                if (key->key() != Qt::Key_Y || key->modifiers() != Qt::NoModifier)
                    return false;
                key->accept(); // taken: its shortcut would start the colours again
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Form1& m_form;
};

} // namespace

bool Form1::isCyclingColours() const { return m_cycle && m_cycle->isCycling(); }

void Form1::stopCyclingColours()
{
    if (!isCyclingColours())
        return;
    m_cycle->stop();
    qApp->removeEventFilter(m_stopOnKey);
}

void Form1::startCyclingColours()
{
    if (isCyclingColours())
        return;
    if (m_worker->isBusy()) {
        showHistoryLine(QStringLiteral("The colours cycle once the picture is painted"));
        return;
    }
    if (!m_cycle) {
        m_cycle = new ColourCycleView(this);
        m_stopOnKey = new StopOnKey(*this);
        connect(view("Picture1"), &SurfaceView::changed, this, &Form1::stopCyclingColours);
    }
    const SurfaceView* picture = view("Picture1");
    m_cycle->move(picture->geometry().topLeft() + QPoint(SurfaceView::kBorderPx, SurfaceView::kBorderPx));
    m_cycle->start(pictureOnShow(), picture->snapshot());
    qApp->installEventFilter(m_stopOnKey);
}

} // namespace mandalix
