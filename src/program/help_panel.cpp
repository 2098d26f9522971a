#include "program/help_panel.h"

#include "program/panel_grey.h"

namespace mandalix {

const std::array<HelpLine, 14> kHelpLines = {{
    {40, "COMMAND BUTTONS"},
    {55, "generation type: select appearance mode"},
    {70, "new img / new palette: new imag egenerated using new palette"},
    {85, "new img / old palette: new image generated using existing palette"},
    {100, "repeat image: generate image using the same parameters"},
    {115, "change palette: select new palette"},
    {130, "save on disk D: save the image as TYearMoDaHoMiSe.jpg"},
    {160, "SUGGESTIONS"},
    {175, "color change: click selected color on palette and click somewhere on image"},
    {190, "non successful color change operation - click repeat image "},
    {205, "automatic slide show - click several times on new img / new palette"},
    {220, "close this help - click repeat image"},
    {250, "thanks to a good friend for many useful suggestions"},
    {265, "*"},
}};

void ShowHelp(WindowState& s, Surface& picture1)
{
    for (s.i = kHelpLeft; s.i <= kHelpRight; s.i = s.i + 1) {
        const int column = static_cast<int>(s.i);
        picture1.Line(column, kHelpTop, column, kHelpBottom, kPanelGrey);
    }
    for (const HelpLine& line : kHelpLines) {
        picture1.setCurrentX(kHelpTextX);
        picture1.setCurrentY(line.y);
        picture1.Print(QString::fromLatin1(line.text));
    }
}

} // namespace mandalix
