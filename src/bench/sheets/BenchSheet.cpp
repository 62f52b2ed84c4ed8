#include "bench/sheets/BenchSheet.h"

#include "imaging/model/Theme.h"

#include <QPainter>
#include <QVBoxLayout>

namespace plenoria {

BenchSheet::BenchSheet(int width, QWidget* parent)
    : QDialog(parent)
{
    setWindowModality(Qt::WindowModal);
    // The width is exact: a wrapping line must not widen the sheet, so the content gets a fixed
    // width and the sheet is as tall as the content is at that width.
    auto* body = new QWidget;
    body->setFixedWidth(width - 2 * margin);
    m_column = new QVBoxLayout(body);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->setSpacing(spacing);
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(margin, margin, margin, margin);
    frame->setSizeConstraint(QLayout::SetFixedSize);
    frame->addWidget(body);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void BenchSheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::background());
    // A rule round the edge keeps the sheet apart from the bench where no window frame is drawn.
    painter.setPen(Theme::rule());
    painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace plenoria
