#include "common/text_contrast.h"

#include <cmath>

namespace TextContrast {
namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

QColor mixed(const QColor &from, const QColor &to, double share)
{
    const auto channel = [share](double a, double b) { return a + (b - a) * share; };
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(float(channel(a.redF(), b.redF())), float(channel(a.greenF(), b.greenF())),
                            float(channel(a.blueF(), b.blueF())));
}

// The least share of the end colour (black or white) mixed in that makes the wanted colour readable;
// more than 1 where even the end colour is not.
double shareNeeded(const QColor &wanted, const QColor &end, const QColor &background)
{
    if (ratio(end, background) < kLeastRatio)
        return 2;
    constexpr int kSteps = 64;
    for (int step = 1; step <= kSteps; ++step) {
        const double share = double(step) / kSteps;
        if (ratio(mixed(wanted, end, share), background) >= kLeastRatio)
            return share;
    }
    return 1;
}

} // namespace

double luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double ratio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readable(const QColor &wanted, const QColor &background)
{
    if (ratio(wanted, background) >= kLeastRatio)
        return wanted;
    // Any background reads at least 4.58:1 against black or against white, so one way succeeds.
    const double darker = shareNeeded(wanted, Qt::black, background);
    const double lighter = shareNeeded(wanted, Qt::white, background);
    return darker <= lighter ? mixed(wanted, Qt::black, darker) : mixed(wanted, Qt::white, lighter);
}

} // namespace TextContrast
