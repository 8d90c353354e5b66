#pragma once

#include "forms/form_table.h"
#include "win32/win32_windows.h"

// Design places are twips: 15 to a pixel at 96 dpi, laid out for a font with 13-pixel lines
// at 96 dpi. Converts them for a window's dpi, scaled up further (never down) by the ratio
// of the font's line height to the layout's, so that a taller font is not clipped.
class Win32Twips
{
public:
    // `lineHeight`: the font's line height in pixels at `dpi`.
    Win32Twips(UINT dpi, int lineHeight);

    UINT dpi() const { return m_dpi; }
    int px(int twips) const;
    // `place` in a container whose corner lies at `origin`, both in twips from the window's
    // client corner. Edges are converted, not sizes, so places that touch in twips touch here.
    RECT rect(const TwipsRect& place, POINT origin = {0, 0}) const;

private:
    UINT m_dpi;
    double m_pixelsPerTwip;
};
