#pragma once

#include <QRect>

class QFont;

// The windows' places and sizes are given in twips: 15 to a pixel at 96 dpi, laid out for a
// font with 13-pixel lines. Scales them by one factor, the ratio of `font`'s line height to 13
// pixels (never below 1), so that the toolkit's font fits the way that font did.
class QtTwips
{
public:
    explicit QtTwips(const QFont& font);

    int px(int twips) const;
    // Edges are converted, not sizes, so neighbours that touch in twips touch in pixels.
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const;

private:
    double m_factor;
};
