#include "qt/qt_twips.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr double LayoutLineHeight = 13.0;  // pixels: the 8-point font the layout was made for

}  // namespace

QtTwips::QtTwips(const QFont& font)
    : m_factor(std::max(1.0, QFontMetrics(font).lineSpacing() / LayoutLineHeight))
{
}

int QtTwips::px(int twips) const
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel * m_factor));
}

QRect QtTwips::rect(int left, int top, int width, int height) const
{
    const int x = px(left);
    const int y = px(top);
    return {x, y, px(left + width) - x, px(top + height) - y};
}

QSize QtTwips::size(int width, int height) const
{
    return {px(width), px(height)};
}
