#include "program/status_caption.h"

#include "program/panel_grey.h"

namespace mandalix {

QString generationTypeName(const WindowState& s)
{
    const double index = roundHalfEven(s.nac);
    // Written so that a NaN fails the test as well.
    if (!(index >= 0 && index < static_cast<double>(s.imenac.size())))
        return {};
    return s.imenac[static_cast<std::size_t>(index)];
}

void ShowGenerationType(WindowState& s, Surface& form1)
{
    // The whole box first, so a shorter name leaves nothing of a longer one.
    for (s.x = kCaptionLeft; s.x <= kCaptionRight; s.x = s.x + 1) {
        const int column = static_cast<int>(s.x);
        form1.Line(column, kCaptionTop, column, kCaptionBottom, kPanelGrey);
    }
    form1.setCurrentX(kCaptionTextX);
    form1.setCurrentY(kCaptionTextY);
    form1.Print(generationTypeName(s));
}

} // namespace mandalix
