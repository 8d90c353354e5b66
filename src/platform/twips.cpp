#include "platform/twips.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr double DesignLineHeight = 13.0;  // pixels, of the design's 8-point font

}  // namespace

Twips::Twips(const QFont& font)
    : m_factor(std::max(1.0, QFontMetrics(font).lineSpacing() / DesignLineHeight))
{
}

int Twips::px(int twips) const
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel * m_factor));
}

QRect Twips::rect(int left, int top, int width, int height) const
{
    const int x = px(left);
    const int y = px(top);
    return {x, y, px(left + width) - x, px(top + height) - y};
}

QSize Twips::size(int width, int height) const
{
    return {px(width), px(height)};
}
