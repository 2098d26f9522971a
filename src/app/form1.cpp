#include "app/form1.h"

#include "app/form1_layout.h"
#include "app/slide_show_window.h"
#include "output/favourites_file.h"
#include "undo/step_commands.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>

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

Form1::Form1(Session& program, PictureHistory* history, std::chrono::milliseconds passDuration,
             QWidget* parent)
    : QWidget(parent)
    , m_program(program)
    , m_history(history)
    , m_passDuration(passDuration)
    , m_variationSettingsPath(defaultVariationSettingsPath())
    , m_favouritesPath(defaultFavouritesPath())
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
    m_files = new PictureFiles(
        program, this, m_status, [this](const Command& command) { post(command); },
        [this](CommandResult result) {
            result.picture1Changes = m_program.surfaces.picture1Changes.load(std::memory_order_acquire);
            showResult(cmd::StartUp{}, result);
        });
    buildAnimations();
    addKeys();
    setAcceptDrops(true);

    m_program.history = history;
    m_worker = std::make_unique<CommandWorker>(
        program.surfaces, commandsOf(program),
        [this](const Command& command, const CommandResult& result) {
            QMetaObject::invokeMethod(
                this, [this, command, result] { showResult(command, result); },
                Qt::QueuedConnection);
        },
        passDuration);
    attachUndoAndHistory();
}

Form1::~Form1()
{
    m_worker->stop();
    // No news may come for a window that is gone.
    if (m_history)
        m_history->finish();
}

void Form1::attachUndoAndHistory()
{
    if (!m_history)
        return;
    m_historyPanel = new HistoryPanel(this);
    m_historyPanel->placeIn(size());
    connect(m_historyPanel, &HistoryPanel::chosen, this,
            [this](const QString& path) { post(cmd::RestoreKept{path}); });
    connect(m_historyPanel, &HistoryPanel::menuAsked, this, &Form1::showKeptMenu);
    m_history->start([this](const HistoryNews& news) {
        QMetaObject::invokeMethod(this, [this, news] { showHistoryNews(news); },
                                  Qt::QueuedConnection);
    });
}

void Form1::showHistoryNews(const HistoryNews& news)
{
    if (const auto* scanned = std::get_if<history::Scanned>(&news)) {
        m_historyPanel->setEntries(scanned->entries);
    } else if (const auto* kept = std::get_if<history::Kept>(&news)) {
        m_historyPanel->add(kept->entry);
        if (!m_notKept->isHidden()) {
            m_notKept->hide();
            showHistoryLine(QStringLiteral("Pictures are kept again."));
        }
    } else if (const auto* removed = std::get_if<history::Removed>(&news)) {
        m_historyPanel->remove(removed->path);
    } else if (const auto* failed = std::get_if<history::Failed>(&news)) {
        // The status line gives way to the next picture; the mark stays until one is kept.
        m_notKept->setText(failed->message);
        m_notKept->show();
        showHistoryLine(failed->message);
    }
}

void Form1::showHistoryLine(const QString& text)
{
    m_statusPicture = m_program.surfaces.picture1Changes.load(std::memory_order_acquire);
    m_status->setText(text);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_historyPanel)
        m_historyPanel->placeIn(size());
}

// The widget of one row of the table: a button, or a view of the surface it names.
QWidget* Form1::controlFor(const ControlRow& row)
{
    if (row.kind == ControlKind::Button) {
        auto* button = new QPushButton(QString::fromLatin1(row.caption), this);
        button->setAutoDefault(false);
        if (row.action == ClickAction::Exit)
            connect(button, &QPushButton::clicked, this, &QWidget::close);
        else if (row.action == ClickAction::Run)
            connect(button, &QPushButton::clicked, this,
                    [this, command = row.command] { post(command); });
        return button;
    }
    const QString name = QString::fromLatin1(row.name);
    auto* view = new SurfaceView(m_program.surfaces,
                                 surfaceNamed(m_program.surfaces, name), true, this);
    view->setFocusPolicy(Qt::StrongFocus);
    view->setVisible(row.kind != ControlKind::HiddenSurface);
    for (const auto& [surface, accessibleName] : kSurfaceAccessibleNames)
        if (name == QLatin1String(surface))
            view->setAccessibleName(QString::fromLatin1(accessibleName));
    if (row.action == ClickAction::Run)
        connect(view, &SurfaceView::pressed, this, [this, command = row.command](int x, int y) {
            post(atPosition(command, x, y));
        });
    return view;
}

// A line of text under the pictures, selectable, at height `y`.
QLabel* Form1::lineLabel(const QString& name, int y, const QString& style)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(kStatusX, y, kStatusW, kStatusH);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setStyleSheet(style);
    return label;
}

void Form1::buildControls()
{
    m_background = new SurfaceView(m_program.surfaces, m_program.surfaces.Form1, false, this);
    m_background->setObjectName(QStringLiteral("Form1Surface"));
    m_background->setGeometry(0, 0, kFormWidthPx, kFormHeightPx);
    m_background->setFocusPolicy(Qt::NoFocus);

    std::array<QWidget*, kControls.size()> byTab{};
    for (const ControlRow& row : kControls) {
        QWidget* widget = controlFor(row);
        widget->setObjectName(QString::fromLatin1(row.name));
        widget->setGeometry(row.x, row.y, row.w, row.h);
        byTab[static_cast<std::size_t>(row.tab)] = widget;
    }
    for (std::size_t k = 1; k < byTab.size(); ++k)
        QWidget::setTabOrder(byTab[k - 1], byTab[k]);
    byTab[0]->setFocus();
    // A line about a save stands only while Picture1 shows what was saved.
    connect(view("Picture1"), &SurfaceView::changed, this, &Form1::dropStaleStatus);

    m_status = lineLabel(QStringLiteral("StatusLine"), kStatusY, QStringLiteral("color: rgb(200, 200, 200);"));
    m_status->setAccessibleName(QStringLiteral("Status"));
    m_notKept = lineLabel(QStringLiteral("NotKeptMark"), kNotKeptY, QStringLiteral("color: rgb(255, 64, 64);"));
    m_notKept->hide();
    buildVariationsButton();
    buildFavouritesButton();
}

void Form1::start() { post(cmd::StartUp{}); }

void Form1::post(const Command& command)
{
    stopCyclingColours();
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
    keepShownPicture(m_program);
    m_failures.close();
    m_files->cancelExport();
    m_animations->abandon();
    event->accept();
}

void Form1::endWithoutDisplay()
{
    if (m_slideShow)
        m_slideShow->leave();
    m_worker->stop();
    m_files->exporter().abandon();
    m_animations->abandon();
    keepShownPicture(m_program);
    if (m_history)
        m_history->finish();
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.constFirst().isLocalFile())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return;
    event->acceptProposedAction();
    openFile(urls.constFirst().toLocalFile());
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
    case CommandResult::Kind::Error:
        // The status line must not go on naming a file saved before.
        m_status->clear();
        m_failures.show(result.text);
        break;
    }
}

} // namespace mandalix
