#include "bench/canvas/CanvasChrome.h"

#include "bench/canvas/Checkerboard.h"
#include "imaging/model/HexColor.h"
#include "imaging/model/Theme.h"
#include "store/Preferences.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace plenoria {

namespace {

constexpr double captionSpacing = 6;
constexpr double captionHorizontalPadding = 8;
constexpr double captionVerticalPadding = 3;
constexpr double buttonRadius = 5;
const QString separator = QStringLiteral("\u00B7");

QFont captionFont()
{
    return Theme::monospacedFont(11);
}

void paintCapsule(QPainter& painter, const QRectF& rect)
{
    QColor material = Theme::surface();
    material.setAlphaF(float(CanvasChrome::materialOpacity));
    painter.setPen(Qt::NoPen);
    painter.setBrush(material);
    painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
}

} // namespace

void CanvasChrome::paintGround(
    QPainter& painter, CanvasGround ground, const QRectF& area, const Preferences& prefs)
{
    switch (ground) {
    case CanvasGround::dark:
        painter.fillRect(area, parseHexColor(prefs.previewDarkHex()));
        break;
    case CanvasGround::light:
        painter.fillRect(area, parseHexColor(prefs.previewLightHex()));
        break;
    case CanvasGround::checker:
        Checkerboard::paint(painter, area);
        break;
    }
}

QString CanvasChrome::sizeText(QSize size)
{
    return QStringLiteral("%1 \u00D7 %2").arg(qint64(size.width())).arg(qint64(size.height()));
}

QRectF CanvasChrome::captionRect(QSizeF canvasSize, const QString& size, const QString& caption)
{
    const QFontMetricsF metrics(captionFont());
    const double textWidth = metrics.horizontalAdvance(size) + metrics.horizontalAdvance(separator)
        + metrics.horizontalAdvance(caption) + 2 * captionSpacing;
    const double width = textWidth + 2 * captionHorizontalPadding;
    const double height = metrics.height() + 2 * captionVerticalPadding;
    return QRectF((canvasSize.width() - width) / 2, outerPadding, width, height);
}

void CanvasChrome::paintCaption(
    QPainter& painter, QSizeF canvasSize, const QString& size, const QString& caption)
{
    const QRectF capsule = captionRect(canvasSize, size, caption);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintCapsule(painter, capsule);
    const QFont font = captionFont();
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const double baseline = capsule.top() + captionVerticalPadding + metrics.ascent();
    double x = capsule.left() + captionHorizontalPadding;
    const std::pair<const QString&, QColor> parts[]
        = {{size, Theme::inkSecondary()}, {separator, Theme::inkFaint()}, {caption, Theme::inkFaint()}};
    for (const auto& [text, color] : parts) {
        painter.setPen(color);
        painter.drawText(QPointF(x, baseline), text);
        x += metrics.horizontalAdvance(text) + captionSpacing;
    }
    painter.restore();
}

QRectF CanvasChrome::groundBarRect(QSizeF canvasSize)
{
    const double count = double(allCanvasGrounds.size());
    const double width = count * buttonSide + (count - 1) * buttonSpacing + 2 * barPadding;
    const double height = buttonSide + 2 * barPadding;
    return QRectF(outerPadding, canvasSize.height() - outerPadding - height, width, height);
}

QRectF CanvasChrome::groundButtonRect(QSizeF canvasSize, CanvasGround ground)
{
    const QRectF bar = groundBarRect(canvasSize);
    const double position = double(static_cast<int>(ground));
    return QRectF(bar.left() + barPadding + position * (buttonSide + buttonSpacing), bar.top() + barPadding,
        buttonSide, buttonSide);
}

std::optional<CanvasGround> CanvasChrome::groundButtonAt(QSizeF canvasSize, QPointF location)
{
    for (const CanvasGround ground : allCanvasGrounds) {
        if (groundButtonRect(canvasSize, ground).contains(location))
            return ground;
    }
    return std::nullopt;
}

void CanvasChrome::paintGroundButtons(
    QPainter& painter, QSizeF canvasSize, CanvasGround current, const Preferences& prefs)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    paintCapsule(painter, groundBarRect(canvasSize));
    for (const CanvasGround ground : allCanvasGrounds) {
        const QRectF face = groundButtonRect(canvasSize, ground);
        QPainterPath rounded;
        rounded.addRoundedRect(face, buttonRadius, buttonRadius);
        painter.save();
        painter.setClipPath(rounded);
        paintGround(painter, ground, face, prefs);
        painter.restore();
        const bool chosen = ground == current;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(chosen ? Theme::moss() : Theme::rule(), chosen ? 2 : 1));
        painter.drawPath(rounded);
    }
    painter.restore();
}

} // namespace plenoria
