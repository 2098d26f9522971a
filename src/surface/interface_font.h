// The one interface font of the program: DejaVu Sans at a fixed pixel size, so every
// caption fits its 17-pixel button, a printed line is at most 15 pixels high, and the
// window looks the same on every machine. Needs a QGuiApplication; GUI thread or worker.
#pragma once

#include <QFont>

namespace mandalix {

inline constexpr int kInterfaceFontPx = 10;

// The font of buttons and of text printed on the surfaces. Text printed on a surface is
// drawn without antialiasing, so reading the pixels back gives only whole colours.
QFont interfaceFont();

} // namespace mandalix
