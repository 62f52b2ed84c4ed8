#include "inspectors/text/TextInspector.h"

#include "imaging/model/HexColor.h"
#include "imaging/model/Theme.h"
#include "imaging/render/Renderer.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/ColorWell.h"
#include "inspectors/controls/InspectorSection.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/SliderValueText.h"
#include "inspectors/controls/SymbolIcon.h"
#include "inspectors/controls/ThemedLabel.h"
#include "inspectors/text/FontPicker.h"
#include "inspectors/text/TextContentEditor.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace plenoria {

namespace {

constexpr double smallestSize = 6;

BorderedButton* placementButton(const QString& title)
{
    auto* button = new BorderedButton(title);
    button->setFont(Theme::monospacedFont(12));
    return button;
}

} // namespace

TextInspector::TextInspector(Binding<TextSpec> spec, QSizeF inputSize, FontUsage usage, QWidget* parent)
    : InspectorColumn(QStringLiteral("Text"), parent)
    , m_spec(std::move(spec))
    , m_inputSize(inputSize)
    , m_content(new TextContentEditor)
    , m_font(new FontPicker(Binding<QString>([this] { return m_spec.get().fontName; },
                                [this](const QString& family) {
                                    TextSpec changed = m_spec.get();
                                    changed.fontName = family;
                                    write(changed);
                                }),
          std::move(usage)))
    , m_size(new InspectorSlider(
          QStringLiteral("Size"), numberBinding(&TextSpec::size), smallestSize, 12, SliderValueText::pixels))
    , m_outlineWidth(new InspectorSlider(QStringLiteral("Outline width"),
          numberBinding(&TextSpec::outlineWidth), 0, 2, SliderValueText::outlineWidth))
    , m_rotation(new InspectorSlider(QStringLiteral("Rotation"), numberBinding(&TextSpec::rotation), -180,
          180, SliderValueText::degrees))
{
    addWidget(InspectorText::note(QStringLiteral("Drag it on the canvas; the handles scale and rotate.")));
    addWidget(m_content);
    addWidget(m_font);
    addWidget(m_size);
    addWidget(colorRow());
    addWidget(m_outlineWidth);
    addWidget(m_rotation);
    addWidget(placementSection());
    connect(m_content, &TextContentEditor::edited, this, [this](const QString& text) {
        TextSpec changed = m_spec.get();
        changed.content = text;
        write(changed);
    });
    refresh();
}

Binding<double> TextInspector::numberBinding(double TextSpec::*field)
{
    return Binding<double>([this, field] { return m_spec.get().*field; },
        [this, field](const double& value) {
            TextSpec changed = m_spec.get();
            changed.*field = value;
            write(changed);
        });
}

Binding<QColor> TextInspector::colorBinding(QString TextSpec::*field)
{
    return Binding<QColor>([this, field] { return parseHexColor(m_spec.get().*field); },
        [this, field](const QColor& color) {
            TextSpec changed = m_spec.get();
            changed.*field = hexString(color);
            write(changed);
        });
}

QWidget* TextInspector::colorRow()
{
    m_fill = new ColorWell(QStringLiteral("Fill"), colorBinding(&TextSpec::colorHex));
    m_outline = new ColorWell(QStringLiteral("Outline"), colorBinding(&TextSpec::outlineHex));

    auto* swap = new QToolButton;
    swap->setAutoRaise(true);
    swap->setFixedSize(22, 22);
    swap->setIconSize(QSize(16, 16));
    swap->setCursor(Qt::PointingHandCursor);
    swap->setToolTip(QStringLiteral("Swap fill and outline"));
    swap->setAccessibleName(QStringLiteral("Swap fill and outline"));
    const auto tint = [swap] {
        swap->setIcon(SymbolIcon::icon(QStringLiteral("view-refresh"), 16, Theme::inkSecondary()));
    };
    tint();
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, swap, tint);
    connect(swap, &QToolButton::clicked, this, &TextInspector::swapColors);
    m_swap = swap;

    // The swap button sits level with the wells' swatches, below their labels.
    auto* swapColumn = new QVBoxLayout;
    swapColumn->setContentsMargins(0, 14, 0, 0);
    swapColumn->addWidget(swap);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(m_fill, 0, Qt::AlignVCenter);
    layout->addLayout(swapColumn);
    layout->addWidget(m_outline, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    return row;
}

QWidget* TextInspector::placementSection()
{
    auto* section = new InspectorSection(QStringLiteral("Placement"));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    const auto add = [this](QBoxLayout* layout, const QString& title, void (TextInspector::*action)()) {
        BorderedButton* button = placementButton(title);
        connect(button, &BorderedButton::clicked, this, action);
        layout->addWidget(button);
    };
    add(row, QStringLiteral("Top"), &TextInspector::placeTop);
    add(row, QStringLiteral("Middle"), &TextInspector::placeMiddle);
    add(row, QStringLiteral("Bottom"), &TextInspector::placeBottom);
    row->addStretch(1);
    section->addLayout(row);
    BorderedButton* center = placementButton(QStringLiteral("Center horizontally"));
    connect(center, &BorderedButton::clicked, this, &TextInspector::centerHorizontally);
    section->addWidget(center, Qt::AlignLeft);
    return section;
}

void TextInspector::setInputs(Binding<TextSpec> spec, QSizeF inputSize)
{
    m_spec = std::move(spec);
    m_inputSize = inputSize;
    refresh();
}

void TextInspector::refresh()
{
    const TextSpec spec = m_spec.get();
    m_content->setText(spec.content);
    m_font->refresh();
    // A value outside a range stays in the row until its slider is moved.
    m_size->setRange(smallestSize, std::max(m_inputSize.height(), 12.0));
    m_size->refresh();
    m_fill->refresh();
    m_outline->refresh();
    m_outlineWidth->setRange(0, std::max(spec.size * 0.1, 2.0));
    m_outlineWidth->refresh();
    m_rotation->refresh();
}

void TextInspector::write(const TextSpec& spec)
{
    m_spec.set(spec);
    refresh();
}

void TextInspector::swapColors()
{
    TextSpec spec = m_spec.get();
    std::swap(spec.colorHex, spec.outlineHex);
    write(spec);
}

void TextInspector::placeTop()
{
    TextSpec spec = m_spec.get();
    spec.center.setY(Renderer::textBoxSize(spec).height() / 2);
    write(spec);
}

void TextInspector::placeMiddle()
{
    TextSpec spec = m_spec.get();
    spec.center.setY(m_inputSize.height() / 2);
    write(spec);
}

void TextInspector::placeBottom()
{
    TextSpec spec = m_spec.get();
    spec.center.setY(m_inputSize.height() - Renderer::textBoxSize(spec).height() / 2);
    write(spec);
}

void TextInspector::centerHorizontally()
{
    TextSpec spec = m_spec.get();
    spec.center.setX(m_inputSize.width() / 2);
    write(spec);
}

} // namespace plenoria
