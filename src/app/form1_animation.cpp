// Form1's side of the animations: A asks for one of the picture on show, painted in the
// window's generation type; a kept picture of the history can be the morph loop's other
// picture; Esc cancels an export as it cancels a Save as.
#include "app/form1.h"

#include <QDir>

namespace mandalix {

void Form1::buildAnimations()
{
    auto picture = [this] {
        std::lock_guard lock(m_program.surfaces.lock);
        PictureRecord record = m_program.picture;
        // The painting shows the order the window would paint in now.
        record.nac = m_program.state.nac;
        return record;
    };
    m_animations = new AnimationExports(this, m_status, picture, m_program.drives.d,
                                        [this](const QString& line) { showHistoryLine(line); });
}

void Form1::exportAnimation(const std::optional<SecondPicture>& second)
{
    stopCyclingColours();
    m_animations->ask(second);
}

void Form1::cancelExports()
{
    m_files->cancelExport();
    m_animations->cancel();
}

void Form1::morphWithKept(const QString& path)
{
    if (!m_program.history)
        return;
    const Result<KeptPicture> kept = m_program.history->readKept(path);
    if (!kept.ok) {
        showHistoryLine(QStringLiteral("Cannot use that kept picture: %1").arg(kept.message));
        return;
    }
    exportAnimation(SecondPicture{kept.value.record, kept.value.record.imeslike});
}

} // namespace mandalix
