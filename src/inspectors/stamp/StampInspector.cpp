#include "inspectors/stamp/StampInspector.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/ElidedLabel.h"
#include "inspectors/controls/InspectorSection.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/SliderValueText.h"
#include "inspectors/stamp/StampThumbnail.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

namespace plenoria {

namespace {

BorderedButton* button12(const QString& title)
{
    auto* button = new BorderedButton(title);
    button->setFont(Theme::monospacedFont(12));
    return button;
}

} // namespace

StampInspector::StampInspector(
    Binding<StampSpec> spec, QSizeF inputSize, std::function<void()> onReplaceImage, QWidget* parent)
    : InspectorColumn(QStringLiteral("Stamp"), parent)
    , m_spec(std::move(spec))
    , m_inputSize(inputSize)
    , m_onReplaceImage(std::move(onReplaceImage))
{
    addWidget(InspectorText::note(QStringLiteral("Drag it on the canvas; the handles scale and rotate.")));
    addWidget(pictureRow());
    addWidget(placeSection());
    refresh();
}

Binding<double> StampInspector::numberBinding(double StampSpec::*field)
{
    return Binding<double>([this, field] { return m_spec.get().*field; },
        [this, field](const double& value) {
            StampSpec changed = m_spec.get();
            changed.*field = value;
            write(changed);
        });
}

QWidget* StampInspector::pictureRow()
{
    m_thumbnail = new StampThumbnail;
    m_name = new ElidedLabel(QString(), Theme::monospacedFont(11), &Theme::inkFaint, Qt::ElideMiddle);
    m_replace = button12(QStringLiteral("Replace\u2026"));
    connect(m_replace, &BorderedButton::clicked, this, [this] {
        if (m_onReplaceImage)
            m_onReplaceImage();
    });

    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(m_name);
    column->addWidget(m_replace, 0, Qt::AlignLeft);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_thumbnail, 0, Qt::AlignVCenter);
    // The name takes what is left of the width and elides within it.
    layout->addLayout(column, 1);
    return row;
}

QWidget* StampInspector::placeSection()
{
    auto* section = new InspectorSection(QStringLiteral("Place it"));
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(6);
    BorderedButton* center = button12(QStringLiteral("Center"));
    BorderedButton* fit = button12(QStringLiteral("Fit width"));
    connect(center, &BorderedButton::clicked, this, &StampInspector::centerStamp);
    connect(fit, &BorderedButton::clicked, this, &StampInspector::fitWidth);
    buttons->addWidget(center, 0, Qt::AlignVCenter);
    buttons->addWidget(fit, 0, Qt::AlignVCenter);
    buttons->addStretch(1);
    section->addLayout(buttons);

    m_width = new InspectorSlider(
        QStringLiteral("Width"), numberBinding(&StampSpec::width), 4, 8, SliderValueText::pixels);
    m_rotation = new InspectorSlider(
        QStringLiteral("Rotation"), numberBinding(&StampSpec::rotation), -180, 180, SliderValueText::degrees);
    m_opacity = new InspectorSlider(
        QStringLiteral("Opacity"), numberBinding(&StampSpec::opacity), 0, 1, SliderValueText::percent);
    section->addWidget(m_width);
    section->addWidget(m_rotation);
    section->addWidget(m_opacity);
    return section;
}

void StampInspector::setInputs(Binding<StampSpec> spec, QSizeF inputSize)
{
    m_spec = std::move(spec);
    m_inputSize = inputSize;
    refresh();
}

void StampInspector::setOnReplaceImage(std::function<void()> onReplaceImage)
{
    m_onReplaceImage = std::move(onReplaceImage);
}

void StampInspector::refresh()
{
    const StampSpec spec = m_spec.get();
    m_thumbnail->setVisible(m_thumbnail->setImageData(spec.imageData));
    m_name->setText(spec.name);
    m_width->setRange(4, std::max(2 * m_inputSize.width(), 8.0));
    m_width->refresh();
    m_rotation->refresh();
    m_opacity->refresh();
}

void StampInspector::write(const StampSpec& spec)
{
    m_spec.set(spec);
    refresh();
}

void StampInspector::centerStamp()
{
    StampSpec spec = m_spec.get();
    spec.center = QPointF(m_inputSize.width() * 0.5, m_inputSize.height() * 0.5);
    write(spec);
}

void StampInspector::fitWidth()
{
    StampSpec spec = m_spec.get();
    spec.width = m_inputSize.width();
    write(spec);
}

} // namespace plenoria
