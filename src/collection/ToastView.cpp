#include "ToastView.h"

#include "Theme.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace plenoria {

namespace {

constexpr int horizontalPadding = 14;
constexpr int verticalPadding = 10;
constexpr int travel = 24;
constexpr int animationMs = 250;

} // namespace

ToastView::ToastView(QWidget* parent)
    : QWidget(parent)
    , m_opacity(new QGraphicsOpacityEffect(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(Theme::serifFont(14));
    setGraphicsEffect(m_opacity);
    hide();
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

QSize ToastView::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_message) + 2 * horizontalPadding + 2,
        metrics.height() + 2 * verticalPadding};
}

void ToastView::setMessage(const std::optional<QString>& message)
{
    if (message) {
        m_message = *message;
        fitToParent();
        update();
        if (!m_shown) {
            m_shown = true;
            animate(true);
        } else if (!m_animation) {
            move(restingPosition());
        }
    } else if (m_shown) {
        m_shown = false;
        animate(false);
    }
}

QPoint ToastView::restingPosition() const
{
    if (!parentWidget())
        return {};
    const QSize area = parentWidget()->size();
    const int width = std::min(this->width(), area.width());
    return {(area.width() - width) / 2, area.height() - height() - bottomMargin};
}

void ToastView::fitToParent()
{
    // A message wider than the window keeps to the window and is cut at its end.
    const int room = parentWidget() ? parentWidget()->width() - 2 * bottomMargin : sizeHint().width();
    resize(std::max(0, std::min(sizeHint().width(), room)), sizeHint().height());
}

void ToastView::reposition()
{
    fitToParent();
    if (!m_animation)
        move(restingPosition());
    raise();
}

void ToastView::animate(bool entering)
{
    if (m_animation)
        m_animation->stop();
    reposition();
    const QPoint rest = restingPosition();
    const QPoint below = rest + QPoint(0, travel);
    if (entering) {
        move(below);
        show();
        raise();
    }

    auto* group = new QParallelAnimationGroup(this);
    auto* slide = new QPropertyAnimation(this, "pos", group);
    slide->setDuration(animationMs);
    slide->setEasingCurve(QEasingCurve::OutCubic);
    slide->setStartValue(pos());
    slide->setEndValue(entering ? rest : below);
    auto* fade = new QPropertyAnimation(m_opacity, "opacity", group);
    fade->setDuration(animationMs);
    fade->setStartValue(entering ? 0.0 : m_opacity->opacity());
    fade->setEndValue(entering ? 1.0 : 0.0);
    group->addAnimation(slide);
    group->addAnimation(fade);
    connect(group, &QParallelAnimationGroup::finished, this, [this, entering] {
        if (!entering && !m_shown)
            hide();
        else
            move(restingPosition());
    });
    m_animation = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = capsule.height() / 2;

    // A thin material: the raised surface, mostly opaque, so the list shows faintly through.
    QColor fill = Theme::raised();
    fill.setAlphaF(0.92f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(capsule, radius, radius);
    painter.setPen(QPen(Theme::hairline(), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(capsule, radius, radius);

    painter.setPen(Theme::ink());
    painter.setFont(font());
    const QRect textRect = rect().adjusted(horizontalPadding, 0, -horizontalPadding, 0);
    painter.drawText(textRect, Qt::AlignCenter,
        QFontMetrics(font()).elidedText(m_message, Qt::ElideRight, textRect.width()));
}

} // namespace plenoria
