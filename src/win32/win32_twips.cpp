#include "win32/win32_twips.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double TwipsPerPixel = 15.0;  // at 96 dpi
constexpr double LayoutDpi = 96.0;
constexpr double LayoutLineHeight = 13.0;  // pixels at 96 dpi

}  // namespace

Win32Twips::Win32Twips(UINT dpi, int lineHeight) : m_dpi(dpi)
{
    const double scale = dpi / LayoutDpi;
    const double fontFactor = std::max(1.0, lineHeight / (LayoutLineHeight * scale));
    m_pixelsPerTwip = scale * fontFactor / TwipsPerPixel;
}

int Win32Twips::px(int twips) const
{
    return static_cast<int>(std::lround(twips * m_pixelsPerTwip));
}

RECT Win32Twips::rect(const TwipsRect& place, POINT origin) const
{
    const int left = origin.x + place.left;
    const int top = origin.y + place.top;
    return {px(left), px(top), px(left + place.width), px(top + place.height)};
}
