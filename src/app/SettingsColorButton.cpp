#include "app/SettingsColorButton.h"

#include "imaging/model/Theme.h"

#include <QColorDialog>
#include <QPainter>

namespace plenoria {

SettingsColorButton::SettingsColorButton(const QString& panelTitle, QWidget* parent)
    : QPushButton(parent)
    , m_panelTitle(panelTitle)
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(panelTitle);
    connect(this, &QPushButton::clicked, this, &SettingsColorButton::openPanel);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void SettingsColorButton::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    if (m_panel && color.alpha() > 0) {
        // The panel must not echo the model's own colour back as a pick.
        const QSignalBlocker blocker(m_panel);
        m_panel->setCurrentColor(color);
    }
    update();
}

QSize SettingsColorButton::sizeHint() const
{
    return {44, 24};
}

void SettingsColorButton::openPanel()
{
    if (m_panel) {
        m_panel->raise();
        m_panel->activateWindow();
        return;
    }
    auto* panel = new QColorDialog(window());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowTitle(m_panelTitle);
    // Qt's own panel reports colours while the user drags; a desktop dialog only reports at the end.
    panel->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    if (m_color.alpha() > 0)
        panel->setCurrentColor(m_color);
    connect(panel, &QColorDialog::currentColorChanged, this, [this](const QColor& picked) {
        if (picked.isValid())
            emit colorPicked(picked);
    });
    m_panel = panel;
    panel->show();
}

void SettingsColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Theme::rule(), 1));
    painter.setBrush(Theme::background());
    painter.drawRoundedRect(frame, 6, 6);

    const QRectF swatch = frame.adjusted(4, 4, -4, -4);
    if (m_color.alpha() > 0) {
        painter.setPen(QPen(Theme::hairline(), 1));
        painter.setBrush(m_color);
        painter.drawRoundedRect(swatch, 3, 3);
    } else {
        painter.setPen(QPen(Theme::rule(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(swatch, 3, 3);
        painter.setPen(QPen(Theme::rust(), 1.5));
        painter.drawLine(swatch.bottomLeft() + QPointF(2, -2), swatch.topRight() + QPointF(-2, 2));
    }
    if (hasFocus()) {
        QColor ring = Theme::moss();
        ring.setAlphaF(0.5f);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 5, 5);
    }
}

} // namespace plenoria
