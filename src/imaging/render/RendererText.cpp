#include "imaging/render/Renderer.h"

#include "imaging/model/FontFamilies.h"
#include "imaging/render/CoverageMask.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

namespace plenoria {

namespace {

// Glyph outlines are taken at this pixel size and scaled to the text's size: QFont takes only whole
// pixel sizes, and point sizes would depend on the screen's DPI.
constexpr double referencePixelSize = 256;

// Below this the outline is too thin to see and is not drawn at all.
constexpr double minimumOutlineWidth = 0.05;

// A size below 1 pixel (or a broken value) draws at 1, so no division or empty font ever follows.
double usableSize(double size)
{
    return std::isfinite(size) ? std::max(size, 1.0) : 1.0;
}

// The font at the reference size, kerned by 0.02 × size. A family that is not installed is resolved
// by fontconfig (its aliases, else the default sans family), unless that would draw symbols.
QFont referenceFont(const TextSpec& spec)
{
    QFont font(FontFamilies::drawable(spec.fontName));
    font.setPixelSize(int(referencePixelSize));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.02 * referencePixelSize);
    return font;
}

QColor colorOr(const QString& hex, QColor fallback)
{
    if (const std::optional<RGB> rgb = RGB::fromHex(hex))
        return QColor::fromRgbF(float(rgb->red), float(rgb->green), float(rgb->blue));
    return fallback;
}

// An opaque colour laid over the canvas where the mask covers it (source over, premultiplied).
void paintCoverage(QImage& canvas, const CoverageMask& mask, QColor color)
{
    const QRect area = mask.bounds();
    const float source[4] = {float(color.red()), float(color.green()), float(color.blue()), 255.0f};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uchar* row = canvas.scanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            const float coverage = mask.at(x, y);
            if (coverage <= 0)
                continue;
            uchar* p = row + 4 * x;
            for (int c = 0; c < 4; ++c)
                p[c] = uchar(source[c] * coverage + float(p[c]) * (1 - coverage) + 0.5f);
        }
    }
}

bool allBlank(const QStringList& lines)
{
    return std::all_of(lines.begin(), lines.end(), [](const QString& line) { return line.trimmed().isEmpty(); });
}

} // namespace

void Renderer::drawTextLines(QImage& canvas, const QStringList& lines, const TextSpec& spec)
{
    const double size = usableSize(spec.size);
    const double scale = size / referencePixelSize;
    const QFont font = referenceFont(spec);
    const QFontMetricsF metrics(font);
    const double lineHeight = 1.12 * size;
    const double count = double(lines.size());

    QPainterPath block;
    block.setFillRule(Qt::WindingFill); // glyph contours overlap; winding keeps them solid
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QPainterPath line;
        line.addText(0, 0, font, lines[i]);
        const double width = metrics.horizontalAdvance(lines[i]) * scale;
        // Lines are centred on the centre point and the block of line boxes is centred on it too;
        // each baseline sits 0.24 × size above the bottom of its box.
        const double baseline = double(i + 1) * lineHeight - count * lineHeight * 0.5 - 0.24 * size;
        QTransform place;
        place.translate(-width * 0.5, baseline);
        place.scale(scale, scale);
        block.addPath(place.map(line));
    }

    QTransform toCanvas;
    toCanvas.translate(spec.center.x(), spec.center.y());
    toCanvas.rotate(spec.rotation); // y points down, so a positive angle turns clockwise on screen
    const CoverageMask fill(block, toCanvas, canvas.size());
    std::optional<CoverageMask> outline;
    if (spec.outlineWidth >= minimumOutlineWidth) {
        QPainterPathStroker stroker;
        stroker.setWidth(spec.outlineWidth);
        stroker.setJoinStyle(Qt::RoundJoin);
        stroker.setCapStyle(Qt::RoundCap);
        outline.emplace(stroker.createStroke(block), toCanvas, canvas.size());
    }
    paintCoverage(canvas, fill, colorOr(spec.colorHex, Qt::white));
    if (outline)
        paintCoverage(canvas, *outline, colorOr(spec.outlineHex, Qt::black));
}

QImage Renderer::renderText(const QImage& image, const TextSpec& spec)
{
    const QStringList lines = spec.lines();
    if (allBlank(lines))
        return image;
    std::optional<QImage> canvas = drawableCopy(image);
    if (!canvas)
        return image;
    drawTextLines(*canvas, lines, spec);
    return *canvas;
}

QSizeF Renderer::textBoxSize(const TextSpec& spec)
{
    const double size = usableSize(spec.size);
    const QFont font = referenceFont(spec);
    const QFontMetricsF metrics(font);
    const QStringList lines = spec.lines();
    double widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line) * size / referencePixelSize);
    return {widest + 2 * spec.outlineWidth, size * 1.12 * double(std::max<qsizetype>(lines.size(), 1)) +
                                                2 * spec.outlineWidth};
}

} // namespace plenoria
