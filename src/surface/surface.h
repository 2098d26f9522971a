// A drawing surface: a raster of colours addressed in whole pixels from the top-left
// corner of its drawing area, with the program's drawing operations. Needs no window.
// Not thread-safe by itself: whoever shares one between threads guards it with a lock.
// Nothing fails: reads outside the drawing area answer kNoColour, writes there are ignored.
#pragma once

#include "surface/colour.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace mandalix {

class Surface {
public:
    Surface(int width, int height, Colour backColour);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool contains(int x, int y) const
    {
        return static_cast<unsigned>(x) < static_cast<unsigned>(m_width)
            && static_cast<unsigned>(y) < static_cast<unsigned>(m_height);
    }

    Colour BackColor() const { return m_backColour; }
    void setBackColor(Colour colour) { m_backColour = colour; }

    // Clears the drawing area to the back colour and moves the text position to (0, 0).
    void Cls();

    // Sets one pixel; ignored outside the drawing area or for a value that is no colour.
    void PSet(int x, int y, Colour colour)
    {
        if (contains(x, y) && isColour(colour)) {
            m_pixels[static_cast<std::size_t>(y) * m_width + x] = toArgb(colour);
            m_isChanged = true;
        }
    }

    // The colour of one pixel, or kNoColour outside the drawing area.
    Colour Point(int x, int y) const
    {
        return contains(x, y) ? fromArgb(m_pixels[static_cast<std::size_t>(y) * m_width + x])
                              : kNoColour;
    }

    // A one-pixel line from (x1, y1) to (x2, y2), both end points included, clipped.
    void Line(int x1, int y1, int x2, int y2, Colour colour);

    // Prints one line of text in the interface font, black on a transparent background,
    // with the top of the line at the text position; then moves the text position to the
    // start of the next line.
    void Print(const QString& text);

    double CurrentX() const { return m_currentX; }
    double CurrentY() const { return m_currentY; }
    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }

    // True when the drawing area was drawn on since the last call; clears the mark.
    bool takeChange()
    {
        const bool changed = m_isChanged;
        m_isChanged = false;
        return changed;
    }

    // A copy of the drawing area, independent of the surface.
    QImage image() const;

private:
    int m_width;
    int m_height;
    Colour m_backColour;
    double m_currentX = 0;
    double m_currentY = 0;
    std::vector<std::uint32_t> m_pixels; // 0xFFRRGGBB, row by row
    bool m_isChanged = true;
};

} // namespace mandalix
