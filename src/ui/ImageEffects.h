#pragma once

#include <QColor>
#include <QImage>
#include <QMargins>
#include <QPointF>
#include <QRectF>

#include <functional>
#include <optional>

class QPainter;

namespace vesk {

// Effects on images and on groups of drawing. A radius is the standard
// deviation of the Gaussian, in points (pixels at a device pixel ratio of 1).

// Blurs in place (an alpha-only image stays one; any other is converted to
// premultiplied ARGB32); outside the image counts as transparent. Three box
// passes per axis, within a few percent of a true Gaussian.
void gaussianBlur(QImage& image, double radius);

// Adds `amount` (−1 to 1) to every colour channel, in proportion to each
// pixel's opacity, so transparent pixels stay transparent.
void offsetBrightness(QImage& image, double amount);

// The image's alpha as a mask in one colour: the colour at each pixel's
// opacity times the colour's own.
QImage tintedMask(const QImage& image, const QColor& color);

// A shadow or glow: the group's blurred shape in a colour, drawn under it.
struct Shadow {
    QColor color;
    double radius = 0;
    QPointF offset;
};

// The room a shadow takes around the shape that casts it, in whole points:
// three radii on every side, shifted by its offset (top-left system, y down).
QMargins shadowMargins(const Shadow& shadow);

// What happens to a group of drawing as one layer, in this order: brightness
// offset, blur, shadow under it, then the whole at `opacity`.
struct LayerEffects {
    double opacity = 1;
    double brightness = 0;
    double blurRadius = 0;
    std::optional<Shadow> shadow;

    static LayerEffects blurred(double radius)
    {
        LayerEffects effects;
        effects.blurRadius = radius;
        return effects;
    }
    static LayerEffects shadowed(const Shadow& shadow)
    {
        LayerEffects effects;
        effects.shadow = shadow;
        return effects;
    }
};

// Draws `draw` into an offscreen layer (same coordinates as `painter`, at
// the device's resolution), applies the effects and composites the result.
// `bounds` is where the drawing lies, in the painter's coordinates; the layer
// grows by the reach of the blur and shadow.
void paintLayer(QPainter& painter, const QRectF& bounds, const LayerEffects& effects,
                const std::function<void(QPainter&)>& draw);

} // namespace vesk
