#include "bench/record/AddTreatmentButton.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QMenu>
#include <QPainter>
#include <QTimer>

namespace plenoria {

namespace {

constexpr int symbolSide = 13;
constexpr int verticalPadding = 7;

} // namespace

AddTreatmentButton::AddTreatmentButton(BenchModel& model, QWidget* parent)
    : QToolButton(parent)
    , m_model(model)
{
    setText(QStringLiteral("Add treatment"));
    setFont(Theme::serifFont(13));
    setPopupMode(QToolButton::InstantPopup);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    buildMenu();
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &AddTreatmentButton::buildMenu);
}

QString AddTreatmentButton::symbolName(TreatmentKind kind)
{
    switch (kind) {
    case TreatmentKind::crop:
        return QStringLiteral("transform-crop");
    case TreatmentKind::extend:
        return QStringLiteral("view-fullscreen");
    case TreatmentKind::resize:
        return QStringLiteral("view-restore");
    case TreatmentKind::ground:
        return QStringLiteral("contrast");
    case TreatmentKind::tone:
        return QStringLiteral("adjustlevels");
    case TreatmentKind::text:
        return QStringLiteral("draw-text");
    case TreatmentKind::stamp:
        return QStringLiteral("insert-image");
    case TreatmentKind::frames:
        return QStringLiteral("kdenlive-show-video");
    }
    return {};
}

QString AddTreatmentButton::toolTip(TreatmentKind kind)
{
    switch (kind) {
    case TreatmentKind::crop:
        return QStringLiteral("Trim in to a smaller frame");
    case TreatmentKind::extend:
        return QStringLiteral("Grow the canvas, place the original in it");
    case TreatmentKind::resize:
        return QStringLiteral("Down to emoji scale");
    case TreatmentKind::ground:
        return QStringLiteral("Key out the background, or swap it");
    case TreatmentKind::tone:
        return QStringLiteral("Brightness, contrast, saturation, warmth");
    case TreatmentKind::text:
        return QStringLiteral("Impact and an ink outline");
    case TreatmentKind::stamp:
        return QStringLiteral("Drop another image on top");
    case TreatmentKind::frames:
        return QStringLiteral("Timing, skips, and order");
    }
    return {};
}

void AddTreatmentButton::buildMenu()
{
    QMenu* old = menu();
    auto* entries = new QMenu(this);
    entries->setToolTipsVisible(true);
    for (const TreatmentKind kind : m_model.addableKinds()) {
        QAction* action = entries->addAction(
            SymbolIcon::icon(symbolName(kind), 16, Theme::ink()), treatmentKindTitle(kind));
        action->setToolTip(toolTip(kind));
        // Added once the menu has closed: a stamp opens a file dialog of its own.
        connect(action, &QAction::triggered, this,
            [this, kind] { QTimer::singleShot(0, this, [this, kind] { m_model.addTreatment(kind); }); });
    }
    setMenu(entries);
    delete old;
}

QSize AddTreatmentButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {symbolSide + 6 + metrics.horizontalAdvance(text()) + 16, metrics.height() + 2 * verticalPadding};
}

QSize AddTreatmentButton::minimumSizeHint() const
{
    return sizeHint();
}

void AddTreatmentButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor tint = Theme::moss();
    if (isDown() || menu()->isVisible())
        tint = tint.darker(120);
    QPen dashed(tint, 1);
    dashed.setDashPattern({4, 4});
    painter.setPen(dashed);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);

    const QFontMetrics metrics(font());
    const int contentWidth = symbolSide + 6 + metrics.horizontalAdvance(text());
    const int left = (width() - contentWidth) / 2;
    const QPixmap plus
        = SymbolIcon::pixmap(QStringLiteral("list-add"), symbolSide, tint, devicePixelRatioF());
    painter.drawPixmap(QPoint(left, (height() - symbolSide) / 2), plus);
    painter.setPen(tint);
    painter.setFont(font());
    painter.drawText(
        QRect(left + symbolSide + 6, 0, width(), height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace plenoria
