// The program's one window: thirteen controls from the layout table over a view of the
// window's own drawing surface, a status line, and the command worker that runs what
// the user asks for; F11 opens the slide show over it; with the keys of undo and redo and the panel of kept pictures,
// and the ways into the variations and the favourite palettes; A exports an animation.
// GUI thread only. A failed save comes back from the worker as a value and is shown in
// the one failure box; pictures that cannot be kept, as a red line that stays until one is
// kept again; the program goes on.
#pragma once

#include "program/command_worker.h"
#include "app/animation_exports.h"
#include "app/failure_box.h"
#include "app/history_panel.h"
#include "app/picture_files.h"
#include "app/slide_show_options.h"
#include "app/surface_view.h"
#include "desktop/wallpaper_worker.h"
#include "history/picture_history.h"
#include "undo/session.h"
#include "variations/variation_settings.h"

#include <QLabel>
#include <QScreen>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace mandalix {

class KeysSheet;
struct ControlRow;
class SlideShowWindow;
class VariationsWindow;
class EditorWindow;
class ColourCycleView;
class FavouritesWindow;

class Form1 : public QWidget {
    Q_OBJECT
public:
    // `history`, when given, keeps the session's pictures and feeds the history panel.
    explicit Form1(Session& session, PictureHistory* history = nullptr,
                   std::chrono::milliseconds passDuration = kPassDuration,
                   QWidget* parent = nullptr);
    ~Form1() override;

    // Queues the start-up sequence; call once the window is shown.
    void start();

    // Queues a command, as a click or a press would.
    void post(const Command& command);

    // Opens a picture's PNG, as Open or a drop does.
    void openFile(const QString& path) { m_files->openPath(path); }

    // Opens the full-screen slide show (also F11). A screen that cannot take it gets a
    // message and the window goes on. Leaving it shows its last picture here.
    void openSlideShow();
    // What closing does, for a window whose display has gone: stops the painting and the
    // export and keeps the picture on show, waiting until the history has written it.
    // Touches no widget's window.
    void endWithoutDisplay();
    void setSlideShowInterval(std::chrono::milliseconds interval) { m_slideInterval = interval; }

    // Sets the picture on show, painted at the size of the window's screen, as the
    // desktop's wallpaper (also W), off the GUI thread; the status line says how it went.
    void setWallpaper();
    // Waits until a wallpaper being set is set, at most `timeout`; true when none is.
    bool waitForWallpaper(std::chrono::milliseconds timeout);

    // Opens the variations of the picture on show (also V and the "variations" button).
    void openVariations();
    // A kept picture of the history as the parent of variations, or bred with the picture
    // on show. One that cannot be read gets a line on the status line; nothing changes.
    enum class KeptUse { Parent, Breed };
    void useKeptPicture(const QString& path, KeptUse use);
    // The variations window, made on first use.
    VariationsWindow& variations();
    // Colour cycling over the picture on show (Y); any key or command stops it first.
    void startCyclingColours();
    void stopCyclingColours();
    bool isCyclingColours() const;
    ColourCycleView* colourCycle() const { return m_cycle; }

    // Opens the editor of the picture on show (also E and the "edit" button).
    void openEditor();
    // The editor, made on first use.
    EditorWindow& editor();
    // Where the variations keep their settings; tests keep them apart.
    void setVariationSettingsPath(const QString& path) { m_variationSettingsPath = path; }

    // Asks for a name (also K), then keeps the palette of the picture on show under it.
    void askToKeepPalette();
    // Keeps the palette of the picture on show under `name` and shows the favourites;
    // false when the file could not take it (the favourites window says why).
    bool keepPalette(const QString& name);
    // Opens the favourite palettes (also the "favourite palettes" button).
    void openFavourites();
    // The favourites window, made on first use.
    FavouritesWindow& favourites();
    // Where the favourite palettes are kept; tests keep them apart. Before first use.
    void setFavouritesPath(const QString& path) { m_favouritesPath = path; }

    // Asks for an animation of the picture on show (also A), a morph loop with `second`
    // when given, and exports it on its own thread.
    void exportAnimation(const std::optional<SecondPicture>& second = std::nullopt);
    // Esc: stops a running Save as and a running export of an animation.
    void cancelExports();
    AnimationExports& animations() { return *m_animations; }

    CommandWorker& worker() { return *m_worker; }
    PictureFiles& files() { return *m_files; }
    QLabel* statusLine() const { return m_status; }
    FailureBox& failures() { return m_failures; }
    SurfaceView* view(const char* name) const;
    // The thumbnails of the kept pictures; none when the program keeps no history.
    HistoryPanel* historyPanel() const { return m_historyPanel; }
    // The red line that stands while pictures are not being kept; hidden otherwise.
    QLabel* notKeptMark() const { return m_notKept; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void showResult(const mandalix::Command& command, const mandalix::CommandResult& result);

private:
    void buildControls();
    QWidget* controlFor(const ControlRow& row);
    QLabel* lineLabel(const QString& name, int y, const QString& style);
    void addKeys();
    // True while Picture1 has not changed since it had changed `picture1Changes` times.
    bool isPictureStillShown(std::uint64_t picture1Changes) const;
    void dropStaleStatus();
    void attachUndoAndHistory();
    void showHistoryNews(const HistoryNews& news);
    // A line about the history, standing until the next picture.
    void showHistoryLine(const QString& text);
    void leaveSlideShow();
    // Opens the sheet of keys beside the picture, or raises it.
    void showKeysSheet();
    void buildVariationsButton();
    void buildFavouritesButton();
    void showKeptMenu(const QString& path, QPoint globalPosition);
    // Starts setting `record` (and `shown`, null to paint it) as the wallpaper at the size
    // of `screen`; the line of how it went goes to `tell` on the GUI thread.
    void startWallpaper(const PictureRecord& record, const QImage& shown, QScreen* screen,
                        std::function<void(const QString&, bool isError)> tell);
    void setSlideShowWallpaper();
    void morphWithKept(const QString& path);
    void buildAnimations();
    // A copy of the picture on show, taken under the surfaces' lock.
    PictureRecord pictureOnShow() const;

    Session& m_program;
    PictureHistory* m_history;
    SurfaceView* m_background = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_notKept = nullptr;
    HistoryPanel* m_historyPanel = nullptr;
    std::uint64_t m_statusPicture = 0; // Picture1's count when the status line's news came
    std::unique_ptr<CommandWorker> m_worker;
    FailureBox m_failures{*this};
    PictureFiles* m_files = nullptr;
    AnimationExports* m_animations = nullptr;
    const std::chrono::milliseconds m_passDuration;
    std::chrono::milliseconds m_slideInterval = kDefaultSlideInterval;
    SlideShowWindow* m_slideShow = nullptr;
    KeysSheet* m_keysSheet = nullptr;
    VariationsWindow* m_variations = nullptr;
    EditorWindow* m_editor = nullptr;
    ColourCycleView* m_cycle = nullptr;
    QObject* m_stopOnKey = nullptr; // installed on the application while colours cycle
    QString m_variationSettingsPath;
    FavouritesWindow* m_favourites = nullptr;
    QString m_favouritesPath;
    std::unique_ptr<WallpaperWorker> m_wallpaper;
};

} // namespace mandalix
