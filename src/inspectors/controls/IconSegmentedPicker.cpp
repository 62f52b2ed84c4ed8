#include "inspectors/controls/IconSegmentedPicker.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace plenoria {

namespace {

constexpr int symbolSize = 12;
constexpr int faceSpacing = 4;
constexpr int horizontalPadding = 8;

} // namespace

IconSegmentedPicker::IconSegmentedPicker(std::vector<Face> faces, QWidget* parent)
    : QWidget(parent)
    , m_faces(std::move(faces))
{
    setFont(Theme::monospacedFont(11));
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

int IconSegmentedPicker::faceWidth(const Face& face) const
{
    int width = QFontMetrics(font()).horizontalAdvance(face.title);
    if (!face.systemImage.isEmpty())
        width += symbolSize + (face.title.isEmpty() ? 0 : faceSpacing);
    return width;
}

QSize IconSegmentedPicker::sizeHint() const
{
    int widest = 0;
    for (const Face& face : m_faces)
        widest = std::max(widest, faceWidth(face));
    const int height = std::max(QFontMetrics(font()).height(), symbolSize) + 2 * verticalPadding;
    return {int(m_faces.size()) * (widest + 2 * horizontalPadding), height};
}

QSize IconSegmentedPicker::minimumSizeHint() const
{
    return {int(m_faces.size()) * 2 * horizontalPadding, sizeHint().height()};
}

QRect IconSegmentedPicker::segmentRect(qint64 index) const
{
    const qint64 n = std::max<qint64>(count(), 1);
    // Equal shares; the rounding is spread so the last segment ends at the right edge.
    const int left = int(index * width() / n);
    const int right = int((index + 1) * width() / n);
    return {left, 0, right - left, height()};
}

std::vector<QRectF> IconSegmentedPicker::dividerRects() const
{
    std::vector<QRectF> dividers;
    for (qint64 index = 1; index < count(); ++index) {
        const double x = segmentRect(index).left();
        dividers.emplace_back(x - 0.5, (height() - dividerHeight) / 2.0, 1, dividerHeight);
    }
    return dividers;
}

std::optional<qint64> IconSegmentedPicker::segmentAt(const QPoint& point) const
{
    for (qint64 index = 0; index < count(); ++index) {
        if (segmentRect(index).contains(point))
            return index;
    }
    return std::nullopt;
}

void IconSegmentedPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.save();
    painter.setClipPath(outline);
    painter.fillRect(rect(), Theme::raised());
    const std::optional<qint64> selected = selectedIndex();
    if (selected)
        painter.fillRect(segmentRect(*selected), withOpacity(Theme::moss(), 0.25));
    for (const QRectF& divider : dividerRects())
        painter.fillRect(divider, Theme::rule());

    painter.setFont(font());
    for (qint64 index = 0; index < count(); ++index) {
        const Face& face = m_faces[size_t(index)];
        const QColor color = index == selected ? Theme::ink() : Theme::inkSecondary();
        const QRect segment = segmentRect(index);
        const int width = faceWidth(face);
        int x = segment.left() + (segment.width() - width) / 2;
        if (!face.systemImage.isEmpty()) {
            const QPixmap symbol
                = SymbolIcon::pixmap(face.systemImage, symbolSize, color, devicePixelRatioF());
            painter.drawPixmap(x, segment.top() + (segment.height() - symbolSize) / 2, symbol);
            x += symbolSize + faceSpacing;
        }
        painter.setPen(color);
        painter.drawText(QRect(x, segment.top(), segment.right() - x + 1, segment.height()),
            Qt::AlignLeft | Qt::AlignVCenter, face.title);
    }
    painter.restore();
    painter.setPen(QPen(Theme::rule(), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
}

void IconSegmentedPicker::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? segmentAt(event->position().toPoint()) : std::nullopt;
}

void IconSegmentedPicker::mouseReleaseEvent(QMouseEvent* event)
{
    const std::optional<qint64> pressed = std::exchange(m_pressed, std::nullopt);
    if (event->button() != Qt::LeftButton || !pressed || segmentAt(event->position().toPoint()) != pressed)
        return;
    if (m_write)
        m_write(*pressed);
    update();
}

} // namespace plenoria
