#pragma once

#include <QColor>

// Contrast between a text's colour and its background, as the accessibility guidelines measure it
// (WCAG 2): the ratio of the two colours' relative luminances, each plus 0.05, from 1 to 21.
namespace TextContrast {

// What every text of the program keeps against its background, in light and dark palettes alike.
inline constexpr double kLeastRatio = 4.5;

// A colour's relative luminance, 0 (black) to 1 (white).
double luminance(const QColor &colour);
double ratio(const QColor &a, const QColor &b);

// The wanted colour where it reads well on the background; otherwise the colour nearest to it, made
// darker or lighter, that does.
QColor readable(const QColor &wanted, const QColor &background);

} // namespace TextContrast
