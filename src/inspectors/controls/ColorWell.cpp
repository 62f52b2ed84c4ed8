#include "inspectors/controls/ColorWell.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QColorDialog>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace plenoria {

namespace {

constexpr QSize swatchSize(30, 14);

QColorDialog* defaultPanel(QWidget* parent)
{
    auto* panel = new QColorDialog(parent);
    // Qt's own panel reports colours while the user drags; a desktop dialog only reports at the end.
    panel->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    return panel;
}

QIcon swatchIcon(const QColor& color)
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap pixmap(swatchSize * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(QPointF(0, 0), QSizeF(swatchSize)).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(Theme::rule(), 1));
        painter.setBrush(color.alpha() > 0 ? QBrush(color) : QBrush(Qt::NoBrush));
        painter.drawRoundedRect(box, 3, 3);
        if (color.alpha() == 0) {
            painter.setPen(QPen(Theme::rust(), 1.5));
            painter.drawLine(box.bottomLeft() + QPointF(3, -2), box.topRight() + QPointF(-3, 2));
        }
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

ColorWell::ColorWell(const QString& label, Binding<QColor> color, QWidget* parent)
    : QWidget(parent)
    , m_color(std::move(color))
    , m_label(label)
    , m_labelView(new ThemedLabel(label, Theme::monospacedFont(11), &Theme::inkSecondary))
    , m_button(new QPushButton)
    , m_panelFactory(defaultPanel)
{
    m_button->setIconSize(swatchSize);
    m_button->setAccessibleName(label);
    m_button->setCursor(Qt::PointingHandCursor);
    m_button->setFocusPolicy(Qt::TabFocus);
    m_button->setAutoDefault(false);
    m_button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_labelView);
    layout->addWidget(m_button, 0, Qt::AlignLeft);

    connect(m_button, &QPushButton::clicked, this, &ColorWell::openPanel);
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &ColorWell::refresh);
    refresh();
}

ColorWell::~ColorWell()
{
    closePanel();
}

void ColorWell::setLabelVisible(bool visible)
{
    m_labelView->setVisible(visible);
}

void ColorWell::setBinding(Binding<QColor> color)
{
    m_color = std::move(color);
    refresh();
}

void ColorWell::refresh()
{
    const QColor color = m_color.get();
    m_button->setIcon(swatchIcon(color));
    if (m_panel && color.alpha() > 0 && m_panel->currentColor().rgb() != color.rgb()) {
        // The panel must not echo the owner's own colour back as a pick.
        const QSignalBlocker blocker(m_panel);
        m_panel->setCurrentColor(color);
    }
}

void ColorWell::openPanel()
{
    if (m_panel) {
        m_panel->raise();
        m_panel->activateWindow();
        return;
    }
    QColorDialog* panel = m_panelFactory(window());
    if (!panel)
        return;
    panel->setOption(QColorDialog::ShowAlphaChannel, false);
    panel->setWindowTitle(m_label);
    panel->setModal(false);
    const QColor color = m_color.get();
    if (color.alpha() > 0)
        panel->setCurrentColor(color);
    connect(panel, &QColorDialog::currentColorChanged, this, &ColorWell::picked);
    m_panel = panel;
    panel->show();
}

void ColorWell::closePanel()
{
    if (!m_panel)
        return;
    QColorDialog* panel = m_panel;
    m_panel = nullptr;
    disconnect(panel, nullptr, this, nullptr);
    panel->close();
    panel->deleteLater();
}

void ColorWell::picked(const QColor& color)
{
    if (!color.isValid())
        return;
    // Colours are always opaque here.
    QColor opaque = color.toRgb();
    opaque.setAlpha(255);
    m_color.set(opaque);
    refresh();
}

} // namespace plenoria
