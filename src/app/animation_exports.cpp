#include "app/animation_exports.h"

#include "app/one_line.h"

#include <QDir>

#include <algorithm>

namespace mandalix {

namespace {

constexpr int kProgressEveryMs = 100;
constexpr int kOneAtATimeNoteMs = 3000;

QString whatIsExported(AnimationKind kind)
{
    switch (kind) {
    case AnimationKind::Painting: return QStringLiteral("the painting");
    case AnimationKind::Cycle: return QStringLiteral("the colour cycling");
    case AnimationKind::Morph: return QStringLiteral("the morph loop");
    }
    return {};
}

} // namespace

AnimationExports::AnimationExports(QWidget* window, QLabel* status, PictureOnShow picture, QString folder,
                                   ShowLine show)
    : QObject(window)
    , m_window(window)
    , m_status(status)
    , m_picture(std::move(picture))
    , m_folder(std::move(folder))
    , m_show(std::move(show))
{
    m_progress.setInterval(kProgressEveryMs);
    connect(&m_progress, &QTimer::timeout, this, &AnimationExports::showProgress);
}

AnimationExports::~AnimationExports() { abandon(); }

void AnimationExports::ask(const std::optional<SecondPicture>& second)
{
    if (m_isRunning) {
        sayOneAtATime();
        return;
    }
    if (m_dialog)
        return;
    AnimationDialog dialog(m_window, m_last, m_folder, m_picture().imeslike);
    if (second)
        dialog.setSecondPicture(*second);
    m_dialog = &dialog;
    const int answer = dialog.exec();
    m_dialog = nullptr;
    if (answer != QDialog::Accepted)
        return;
    m_last = dialog.choices();
    const std::optional<SecondPicture> other = dialog.secondPicture();
    // The picture on show as OK was pressed; the window may paint others meanwhile.
    (void)start({dialog.settings(), m_picture(), other ? std::optional(other->record) : std::nullopt, dialog.path()});
}

bool AnimationExports::start(AnimationJob job)
{
    if (m_isRunning) {
        sayOneAtATime();
        return false;
    }
    m_isRunning = true;
    m_cancel.store(false);
    m_framesDone.store(0);
    m_frames.store(0);
    m_job = job;
    // An idle window runs no thread for exports it never made.
    if (!m_queue)
        m_queue = std::make_unique<SerialQueue>("mandalix-anim");
    m_queue->post([this, job = std::move(job)] {
        const Result<> result = writeAnimation(job, &m_cancel, [this](long long done, long long frames) {
            m_frames.store(frames, std::memory_order_relaxed);
            m_framesDone.store(done, std::memory_order_relaxed);
        });
        QMetaObject::invokeMethod(this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });
    showProgress();
    m_progress.start();
    return true;
}

// The progress line takes the status line again at its next turn: it carries the note too.
void AnimationExports::sayOneAtATime()
{
    m_show(QStringLiteral("An animation is being exported; Esc cancels it"));
    m_oneAtATimeNote.setRemainingTime(kOneAtATimeNoteMs);
}

void AnimationExports::showProgress()
{
    const long long frames = std::max(1LL, m_frames.load(std::memory_order_relaxed));
    const long long done = std::min(frames, m_framesDone.load(std::memory_order_relaxed));
    const QString note = m_oneAtATimeNote.hasExpired() ? QString() : QStringLiteral("One export at a time. ");
    m_status->setText(QStringLiteral("%1Exporting %2: %3% (Esc cancels)")
                          .arg(note, whatIsExported(m_job.settings.kind))
                          .arg(done * 100 / frames));
}

void AnimationExports::cancel()
{
    if (!m_isRunning || m_cancel.load())
        return;
    m_cancel.store(true);
    m_progress.stop();
    m_status->setText(QStringLiteral("Cancelling the export of %1").arg(QDir::toNativeSeparators(m_job.path)));
}

void AnimationExports::abandon()
{
    m_cancel.store(true);
    m_progress.stop();
    m_queue.reset(); // joins; the running export stops at its next frame
    m_isRunning = false;
}

void AnimationExports::finish(const Result<>& result)
{
    m_isRunning = false;
    m_progress.stop();
    const QString what = whatIsExported(m_job.settings.kind);
    if (!result.ok && m_cancel.load())
        m_show(QStringLiteral("The export of %1 was cancelled; no file was written").arg(what));
    else if (!result.ok)
        m_show(oneLine(result.message));
    else
        m_show(QStringLiteral("Exported %1 to %2").arg(what, QDir::toNativeSeparators(m_job.path)));
    emit finished();
}

} // namespace mandalix
