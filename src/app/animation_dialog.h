// The export dialog of an animation (key A): the kind (the painting, colour cycling or a
// morph loop), the video's size, its frame rate, its seconds (the painting's hold at the
// end, or a loop's length), the morph's second picture read from a picture file as Open
// reads it, and the output file. OK accepts only settings that can be written and says in
// the dialog, in one line, why not. GUI thread only; the second picture's file is read on
// the dialog's own reader thread.
#pragma once

#include "app/picture_reader.h"
#include "state/picture_record.h"
#include "video/animation_settings.h"

#include <QDialog>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace mandalix {

// What the dialog remembers from one export to the next in a session.
struct AnimationChoices {
    AnimationKind kind = AnimationKind::Painting;
    QSize size{1280, 720};
    int framesPerSecond = kDefaultAnimationFps;
    double holdSeconds = kDefaultPaintingHoldSeconds;
    double loopSeconds = kDefaultLoopSeconds;
    QString folder;                        // where the last video went; empty: the default
    QString suffix = QStringLiteral("webm"); // the last video's format
};

// The morph's other picture and the name it is shown by.
struct SecondPicture {
    PictureRecord record;
    QString name;
};

// The sizes offered, in the order of the list: the window's picture, 720p, 1080p and 4K,
// then a width and height typed in (an empty size here).
struct VideoSizeChoice {
    QString label;
    QSize size;
};
std::vector<VideoSizeChoice> videoSizeChoices();

class AnimationDialog : public QDialog {
    Q_OBJECT
public:
    // Starts from `last`; the output is `fileName` with the last format's suffix in the
    // last folder, or in `folder` when there is none. `folder` is made when OK is pressed
    // on a file in it and it is missing, as a save to drive D: makes it.
    AnimationDialog(QWidget* parent, const AnimationChoices& last, const QString& folder, const QString& fileName);
    // Stops the reader first: it calls back into the dialog.
    ~AnimationDialog() override;

    // Sets the morph's other picture and makes the kind a morph loop.
    void setSecondPicture(const SecondPicture& second);

    AnimationSettings settings() const;
    QString path() const;
    std::optional<SecondPicture> secondPicture() const { return m_second; }
    // The choices to offer next time.
    AnimationChoices choices() const;
    // Why the last OK did not close the dialog; empty when there was no such OK.
    QString problem() const;
    // Has the second picture's file read; the name shows once it is read. Also the
    // "Choose a file..." button, after asking.
    void readSecondPicture(const QString& path);
    // Waits for the reader, for tests.
    bool waitUntilRead(std::chrono::milliseconds timeout) { return m_reader.waitUntilIdle(timeout); }

public slots:
    // Accepts only settings that can be written; else says why in the dialog and stays.
    void accept() override;

private:
    void buildFields(const AnimationChoices& last);
    QWidget* buildSizeRow(const AnimationChoices& last);
    QWidget* buildSecondRow();
    QWidget* buildOutputRow(const QString& path);
    void kindChosen();
    void browse();
    void chooseSecondFile();
    void secondRead(const QString& path, PictureRead& read);
    QSize chosenSize() const;
    QString checkChoice() const;

    std::vector<VideoSizeChoice> m_sizeChoices;
    QComboBox* m_kind = nullptr;
    QComboBox* m_sizes = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QSpinBox* m_fps = nullptr;
    QLabel* m_secondsLabel = nullptr;
    QDoubleSpinBox* m_seconds = nullptr;
    QWidget* m_secondRow = nullptr;
    QLabel* m_secondName = nullptr;
    QLineEdit* m_output = nullptr;
    QLabel* m_problem = nullptr;
    AnimationKind m_shownKind = AnimationKind::Painting;
    double m_holdSeconds = kDefaultPaintingHoldSeconds;
    double m_loopSeconds = kDefaultLoopSeconds;
    QString m_defaultFolder;
    std::optional<SecondPicture> m_second;
    PictureReader m_reader;
};

} // namespace mandalix
