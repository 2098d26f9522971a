#include "app/form1.h"

#include "app/form1_layout.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

namespace mandalix {

namespace {

const Surface& surfaceNamed(Surfaces& surfaces, const QString& name)
{
    if (name == QLatin1String("Picture1"))
        return surfaces.Picture1;
    if (name == QLatin1String("Picture2"))
        return surfaces.Picture2;
    return surfaces.Picture3;
}

} // namespace

Form1::Form1(Program& program, std::chrono::milliseconds passDuration, QWidget* parent)
    : QWidget(parent)
    , m_program(program)
    , m_passDuration(passDuration)
{
    qRegisterMetaType<mandalix::Command>();
    qRegisterMetaType<mandalix::CommandResult>();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    resize(kRestoredWidth, kRestoredHeight);

    buildControls();
    connect(new QShortcut(QKeySequence(Qt::Key_F11), this), &QShortcut::activated, this,
            &Form1::openSlideShow);

    m_worker = std::make_unique<CommandWorker>(
        program,
        [this](const Command& command, const CommandResult& result) {
            QMetaObject::invokeMethod(
                this, [this, command, result] { showResult(command, result); },
                Qt::QueuedConnection);
        },
        passDuration);
}

Form1::~Form1() { m_worker->stop(); }

void Form1::buildControls()
{
    m_background = new SurfaceView(m_program.surfaces, m_program.surfaces.Form1, false, this);
    m_background->setObjectName(QStringLiteral("Form1Surface"));
    m_background->setGeometry(0, 0, kFormWidthPx, kFormHeightPx);
    m_background->setFocusPolicy(Qt::NoFocus);

    std::array<QWidget*, kControls.size()> byTab{};
    for (const ControlRow& row : kControls) {
        QWidget* widget = nullptr;
        if (row.kind == ControlKind::Button) {
            auto* button = new QPushButton(QString::fromLatin1(row.caption), this);
            button->setAutoDefault(false);
            if (row.action == ClickAction::Exit)
                connect(button, &QPushButton::clicked, this, &QWidget::close);
            else if (row.action == ClickAction::Run)
                connect(button, &QPushButton::clicked, this,
                        [this, command = row.command] { post(command); });
            widget = button;
        } else {
            const QString name = QString::fromLatin1(row.name);
            auto* view = new SurfaceView(m_program.surfaces,
                                         surfaceNamed(m_program.surfaces, name), true, this);
            view->setFocusPolicy(Qt::StrongFocus);
            view->setVisible(row.kind != ControlKind::HiddenSurface);
            if (row.action == ClickAction::Run)
                connect(view, &SurfaceView::pressed, this, [this, command = row.command](int x, int y) {
                    post(atPosition(command, x, y));
                });
            widget = view;
        }
        widget->setObjectName(QString::fromLatin1(row.name));
        widget->setGeometry(row.x, row.y, row.w, row.h);
        byTab[static_cast<std::size_t>(row.tab)] = widget;
    }
    for (std::size_t k = 1; k < byTab.size(); ++k)
        QWidget::setTabOrder(byTab[k - 1], byTab[k]);
    byTab[0]->setFocus();
    // A line about a save stands only while Picture1 shows what was saved.
    connect(view("Picture1"), &SurfaceView::changed, this, &Form1::dropStaleStatus);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusLine"));
    m_status->setGeometry(kStatusX, kStatusY, kStatusW, kStatusH);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setStyleSheet(QStringLiteral("color: rgb(200, 200, 200);"));
}

void Form1::start() { post(cmd::StartUp{}); }

void Form1::post(const Command& command)
{
    if (paintsAPicture(command))
        m_status->clear();
    m_worker->post(command);
}

SurfaceView* Form1::view(const char* name) const
{
    return findChild<SurfaceView*>(QString::fromLatin1(name));
}

void Form1::closeEvent(QCloseEvent* event)
{
    leaveSlideShow();
    m_worker->stop();
    event->accept();
}

bool Form1::isPictureStillShown(std::uint64_t picture1Changes) const
{
    return m_program.surfaces.picture1Changes.load(std::memory_order_acquire) == picture1Changes;
}

void Form1::dropStaleStatus()
{
    if (!m_status->text().isEmpty() && !isPictureStillShown(m_statusPicture))
        m_status->clear();
}

void Form1::showResult(const Command& command, const CommandResult& result)
{
    (void)command;
    switch (result.kind) {
    case CommandResult::Kind::None:
        break;
    case CommandResult::Kind::Info:
        m_statusPicture = result.picture1Changes;
        if (isPictureStillShown(m_statusPicture))
            m_status->setText(result.text);
        break;
    case CommandResult::Kind::Error: {
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("mandalix"), result.text,
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        break;
    }
    }
}

} // namespace mandalix
