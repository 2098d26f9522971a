// Form1's keys, made from the key tables: each button's key clicks it, the keys without a
// button run their command, and `?` or Shift+F1 open the sheet that lists them all.
#include "app/form1.h"

#include "app/form1_keys.h"
#include "app/keys_sheet.h"

#include <QPushButton>
#include <QShortcut>

namespace mandalix {

namespace {

// What a key without a button does, for the window `form` and its files.
std::function<void()> actionOf(WindowKey command, Form1& form, PictureFiles& files)
{
    switch (command) {
    case WindowKey::SaveAs:
        return [&files] { files.saveAs(); };
    case WindowKey::Open:
        return [&files] { files.open(); };
    case WindowKey::CancelSave:
        return [&form] { form.cancelExports(); };
    case WindowKey::Undo:
        return [&form] { form.post(cmd::Undo{}); };
    case WindowKey::Redo:
        return [&form] { form.post(cmd::Redo{}); };
    case WindowKey::SlideShow:
        return [&form] { form.openSlideShow(); };
    case WindowKey::Variations:
        return [&form] { form.openVariations(); };
    case WindowKey::Editor:
        return [&form] { form.openEditor(); };
    case WindowKey::CycleColours:
        return [&form] { form.startCyclingColours(); };
    case WindowKey::ExportAnimation:
        return [&form] { form.exportAnimation(); };
    case WindowKey::KeepPalette:
        return [&form] { form.askToKeepPalette(); };
    case WindowKey::Wallpaper:
        return [&form] { form.setWallpaper(); };
    case WindowKey::KeysSheet:
        break;
    }
    return {};
}

} // namespace

// A key does what a click on its button does; the captions stay as they are.
void Form1::addKeys()
{
    for (const KeyRow& row : kButtonKeys) {
        auto* button = findChild<QPushButton*>(QString::fromLatin1(row.name));
        Q_ASSERT(button);
        const QKeySequence key(QString::fromLatin1(row.key));
        button->setToolTip(key.isEmpty() ? QString::fromLatin1(row.tip)
                                         : QStringLiteral("%1 (%2)").arg(QString::fromLatin1(row.tip),
                                                                         key.toString(QKeySequence::NativeText)));
        if (!key.isEmpty())
            connect(new QShortcut(key, this), &QShortcut::activated, button, &QPushButton::click);
    }
    for (const WindowKeyRow& row : kWindowKeys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(row.key)), this);
        if (row.action == WindowKey::KeysSheet)
            connect(shortcut, &QShortcut::activated, this, &Form1::showKeysSheet);
        else
            connect(shortcut, &QShortcut::activated, this, actionOf(row.action, *this, *m_files));
    }
}

void Form1::showKeysSheet()
{
    if (!m_keysSheet)
        m_keysSheet = new KeysSheet(this);
    m_keysSheet->showBeside(*view("Picture1"));
}

} // namespace mandalix
