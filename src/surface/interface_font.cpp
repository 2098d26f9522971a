#include "surface/interface_font.h"

#include <QFontDatabase>

namespace mandalix {

QFont interfaceFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(kInterfaceFontPx);
    font.setStyleHint(QFont::SansSerif);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace mandalix
