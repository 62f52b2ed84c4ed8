#include "inspectors/controls/SymbolIcon.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace plenoria {

namespace {

using ShapePainter = std::function<void(QPainter&, double side)>;

void paintFolder(QPainter& painter, double s)
{
    QPainterPath path;
    path.moveTo(s * 0.1, s * 0.25);
    path.lineTo(s * 0.4, s * 0.25);
    path.lineTo(s * 0.5, s * 0.35);
    path.lineTo(s * 0.9, s * 0.35);
    path.lineTo(s * 0.9, s * 0.8);
    path.lineTo(s * 0.1, s * 0.8);
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
}

void paintMagnifier(QPainter& painter, double s)
{
    painter.setPen(QPen(Qt::black, s * 0.1, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QRectF(s * 0.15, s * 0.15, s * 0.5, s * 0.5));
    painter.drawLine(QPointF(s * 0.58, s * 0.58), QPointF(s * 0.85, s * 0.85));
}

void paintPlay(QPainter& painter, double s)
{
    QPainterPath path;
    path.moveTo(s * 0.25, s * 0.15);
    path.lineTo(s * 0.85, s * 0.5);
    path.lineTo(s * 0.25, s * 0.85);
    path.closeSubpath();
    painter.fillPath(path, Qt::black);
}

void paintPause(QPainter& painter, double s)
{
    painter.fillRect(QRectF(s * 0.22, s * 0.15, s * 0.18, s * 0.7), Qt::black);
    painter.fillRect(QRectF(s * 0.6, s * 0.15, s * 0.18, s * 0.7), Qt::black);
}

void paintMinus(QPainter& painter, double s)
{
    painter.fillRect(QRectF(s * 0.15, s * 0.45, s * 0.7, s * 0.1), Qt::black);
}

void paintPlus(QPainter& painter, double s)
{
    paintMinus(painter, s);
    painter.fillRect(QRectF(s * 0.45, s * 0.15, s * 0.1, s * 0.7), Qt::black);
}

// A claw-less hammer leaning right: the handle up to a head across it.
void paintHammer(QPainter& painter, double s)
{
    painter.setPen(QPen(Qt::black, s * 0.13, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(s * 0.2, s * 0.84), QPointF(s * 0.6, s * 0.42));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.translate(s * 0.62, s * 0.36);
    painter.rotate(45);
    painter.drawRoundedRect(QRectF(-s * 0.3, -s * 0.12, s * 0.6, s * 0.24), s * 0.04, s * 0.04);
}

const QHash<QString, ShapePainter>& paintedShapes()
{
    static const QHash<QString, ShapePainter> shapes{
        {QStringLiteral("folder"), paintFolder},
        {QStringLiteral("edit-find"), paintMagnifier},
        {QStringLiteral("media-playback-start"), paintPlay},
        {QStringLiteral("media-playback-pause"), paintPause},
        {QStringLiteral("list-remove"), paintMinus},
        {QStringLiteral("list-add"), paintPlus},
        {QStringLiteral("hammer"), paintHammer},
    };
    return shapes;
}

// The shape as alpha, from the theme or painted; null when neither knows the name.
QPixmap shapeMask(const QString& name, int size, qreal devicePixelRatio)
{
    const QIcon themed = QIcon::fromTheme(name);
    if (!themed.isNull()) {
        QPixmap pixmap = themed.pixmap(QSize(size, size), devicePixelRatio);
        if (!pixmap.isNull())
            return pixmap;
    }
    const auto painter = paintedShapes().constFind(name);
    if (painter == paintedShapes().cend())
        return {};
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter shapePainter(&pixmap);
    shapePainter.setRenderHint(QPainter::Antialiasing);
    (*painter)(shapePainter, size);
    return pixmap;
}

} // namespace

QPixmap SymbolIcon::pixmap(const QString& name, int size, const QColor& color, qreal devicePixelRatio)
{
    const QSize pixelSize = QSize(size, size) * devicePixelRatio;
    QPixmap result(pixelSize);
    result.setDevicePixelRatio(devicePixelRatio);
    result.fill(Qt::transparent);
    const QPixmap mask = shapeMask(name, size, devicePixelRatio);
    if (mask.isNull())
        return result;

    QPainter painter(&result);
    const QSizeF maskSize = QSizeF(mask.size()) / mask.devicePixelRatio();
    const QPointF origin((size - maskSize.width()) / 2, (size - maskSize.height()) / 2);
    painter.drawPixmap(origin, mask);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(0, 0, size, size), color);
    return result;
}

QIcon SymbolIcon::icon(const QString& name, int size, const QColor& color)
{
    QIcon icon;
    QColor disabled = color;
    disabled.setAlphaF(color.alphaF() * 0.4f);
    for (const qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(pixmap(name, size, color, ratio), QIcon::Normal);
        icon.addPixmap(pixmap(name, size, disabled, ratio), QIcon::Disabled);
    }
    return icon;
}

bool SymbolIcon::themeHas(const QString& name)
{
    return QIcon::hasThemeIcon(name);
}

} // namespace plenoria
