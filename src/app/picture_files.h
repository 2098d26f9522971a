// The window's Save as and Open: the dialogs, the export thread and its progress on the
// status line, and reading a picture's PNG (from Open, a drop or the command line) on
// the reader's thread into an Open command. GUI thread only; owned by Form1. Failures are shown through Form1's
// result callback as a message with the path and the reason; nothing else changes.
#pragma once

#include "export/picture_exporter.h"
#include "app/picture_reader.h"
#include "program/program.h"

#include <QLabel>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace mandalix {

class PictureFiles : public QObject {
    Q_OBJECT
public:
    using Post = std::function<void(const Command&)>;
    using Show = std::function<void(const CommandResult&)>;

    PictureFiles(Program& program, QWidget* window, QLabel* status, Post post, Show show);
    // Stops the reader first: it calls back into this object.
    ~PictureFiles() override;

    // Asks where and at what size, then starts the export of the picture on show as it is
    // now. Does nothing while an export runs but say so.
    void saveAs();
    // Asks for a file and opens it.
    void open();
    // Has the picture's PNG at `path` read on the reader's thread; returns at once. Once
    // read, the picture is queued to be shown, or why not is shown, on the GUI thread.
    void openPath(const QString& path);
    // Stops a running export; no file is left. Harmless when none runs.
    void cancelExport();

    PictureExporter& exporter() { return m_exporter; }
    PictureReader& reader() { return m_reader; }

private:
    void startExport(const QString& path, QSize size);
    void showProgress();
    void finishExport(const PictureWrite& result);
    void finishOpen(const QString& path, PictureRead& read);

    Program& m_program;
    QWidget* m_window;
    QLabel* m_status;
    Post m_post;
    Show m_show;
    QString m_exportPath;
    QSize m_exportSize;
    QTimer m_progress;
    PictureExporter m_exporter;
    PictureReader m_reader;
};

} // namespace mandalix
