#include "contrast.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Steps of the lightness search: 2^-20 of the range is far below one step of an 8-bit channel.
constexpr int kSearchSteps = 20;

// The colour at lightness l with the hue and saturation of c (grey for a colour without hue).
QColor AtLightness(const QColor& c, double l)
{
    const float hue = std::max(0.0f, c.hslHueF());
    const float saturation = c.hslHueF() < 0 ? 0.0f : c.hslSaturationF();
    QColor out = QColor::fromHslF(hue, saturation, static_cast<float>(std::clamp(l, 0.0, 1.0)));
    out.setAlpha(c.alpha());
    return out;
}

// The lightness nearest to from, towards to, whose luminance meets wanted, or none. Luminance
// grows with lightness at a fixed hue and saturation, so the search can halve its range.
std::optional<double> NearestLightness(const QColor& c, double from, double to,
                                       bool (*meets)(double luminance, double target),
                                       double target)
{
    if (!meets(RelativeLuminance(AtLightness(c, to)), target))
        return std::nullopt;
    double fails = from;
    double passes = to;
    for (int i = 0; i < kSearchSteps; ++i) {
        const double middle = (fails + passes) / 2;
        (meets(RelativeLuminance(AtLightness(c, middle)), target) ? passes : fails) = middle;
    }
    return passes;
}

} // namespace

double RelativeLuminance(const QColor& colour)
{
    const QColor c = colour.toRgb();
    return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& colour, const QList<QColor>& backgrounds, double ratio)
{
    if (backgrounds.isEmpty())
        return colour;
    const bool readable = std::all_of(backgrounds.begin(), backgrounds.end(),
                                      [&](const QColor& b) { return ContrastRatio(colour, b) >= ratio; });
    if (readable)
        return colour;

    double darkest = 1;
    double lightest = 0;
    for (const QColor& b : backgrounds) {
        darkest = std::min(darkest, RelativeLuminance(b));
        lightest = std::max(lightest, RelativeLuminance(b));
    }
    // Lighter than the lightest background by the ratio, or darker than the darkest one.
    const double above = (lightest + 0.05) * ratio - 0.05;
    const double below = (darkest + 0.05) / ratio - 0.05;
    const QColor c = colour.toRgb();
    const double l = c.lightnessF();
    const auto atLeast = [](double luminance, double target) { return luminance >= target; };
    const auto atMost = [](double luminance, double target) { return luminance <= target; };
    const std::optional<double> up = NearestLightness(c, l, 1.0, atLeast, above);
    const std::optional<double> down = NearestLightness(c, l, 0.0, atMost, below);
    if (up && (!down || *up - l <= l - *down))
        return AtLightness(c, *up);
    if (down)
        return AtLightness(c, *down);
    QColor white(Qt::white);
    QColor black(Qt::black);
    white.setAlpha(colour.alpha());
    black.setAlpha(colour.alpha());
    const auto worst = [&](const QColor& candidate) {
        double least = 21;
        for (const QColor& b : backgrounds)
            least = std::min(least, ContrastRatio(candidate, b));
        return least;
    };
    return worst(white) >= worst(black) ? white : black;
}

CTextOnFaces ReadableTextOnFaces(const QColor& text, const QList<QColor>& faces, double ratio)
{
    const QColor readable = ReadableOn(text, faces, ratio);
    const bool onAll = std::all_of(faces.begin(), faces.end(), [&](const QColor& face) {
        return ContrastRatio(readable, face) >= ratio;
    });
    if (onAll)
        return {readable, faces};
    CTextOnFaces moved{text, {}};
    for (const QColor& face : faces)
        moved.faces.append(ReadableOn(face, {text}, ratio));
    return moved;
}

QColor Over(const QColor& top, const QColor& under)
{
    const QColor t = top.toRgb();
    const QColor u = under.toRgb();
    const double a = t.alphaF();
    const auto mix = [a](double front, double back) { return front * a + back * (1 - a); };
    return QColor::fromRgbF(static_cast<float>(mix(t.redF(), u.redF())),
                            static_cast<float>(mix(t.greenF(), u.greenF())),
                            static_cast<float>(mix(t.blueF(), u.blueF())));
}
