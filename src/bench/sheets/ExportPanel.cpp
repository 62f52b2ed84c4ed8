#include "bench/sheets/ExportPanel.h"

#include "bench/sheets/FormatCard.h"
#include "bench/sheets/SegmentButton.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/ProminentButton.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace plenoria {

namespace {

QWidget* stack(QBoxLayout* layout)
{
    auto* widget = new QWidget;
    widget->setLayout(layout);
    layout->setContentsMargins(0, 0, 0, 0);
    return widget;
}

ThemedLabel* wrapping(ThemedLabel* label)
{
    label->setWordWrap(true);
    return label;
}

} // namespace

ExportPanel::ExportPanel(ExportPanelModel* model, QWidget* parent)
    : BenchSheet(sheetWidth, parent)
    , m_model(model)
{
    m_model->setParent(this);
    setWindowTitle(m_model->title());
    QVBoxLayout* column = this->column();
    column->addWidget(
        wrapping(new ThemedLabel(m_model->title(), Theme::serifFont(19, QFont::DemiBold), &Theme::ink)));
    column->addWidget(
        wrapping(new ThemedLabel(QStringLiteral("Writes a new file without altering the original."),
            Theme::serifFont(14), &Theme::ink)));
    column->addWidget(buildName());
    column->addWidget(buildCards());
    column->addWidget(buildQuality());
    column->addWidget(buildColors());
    column->addWidget(buildButtons());

    connect(m_model, &ExportPanelModel::changed, this, &ExportPanel::refresh);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &ExportPanel::applyDitherColor);
    // Nothing here answers Return: a dialog's buttons would otherwise take it, even from the name field.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    refresh();
}

QWidget* ExportPanel::buildName()
{
    m_name = new QLineEdit;
    m_name->setPlaceholderText(QStringLiteral("File name"));
    m_name->setFont(Theme::monospacedFont(12, QFont::DemiBold));
    m_name->setAccessibleName(QStringLiteral("File name"));
    m_extension = new ThemedLabel(QString(), Theme::monospacedFont(13), &Theme::inkSecondary);
    m_problem = new ThemedLabel(QString(), Theme::serifFont(12), &Theme::inkSecondary);
    m_problem->setWordWrap(true);
    connect(m_name, &QLineEdit::textEdited, m_model, &ExportPanelModel::setEditedName);

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(m_name, 1);
    row->addWidget(m_extension);
    auto* group = new QVBoxLayout;
    group->setSpacing(4);
    group->addLayout(row);
    group->addWidget(m_problem);
    return stack(group);
}

QWidget* ExportPanel::buildCards()
{
    auto* cards = new QVBoxLayout;
    cards->setSpacing(6);
    auto* group = new QButtonGroup(this);
    for (const ExportFormat::Value format : ExportFormat::allCases()) {
        auto* card = new FormatCard(format, ExportPanelModel::formatName(format));
        m_cards[size_t(format)] = card;
        group->addButton(card);
        cards->addWidget(card);
        connect(card, &QAbstractButton::clicked, m_model, [this, format] { m_model->setFormat(format); });
    }
    return stack(cards);
}

QWidget* ExportPanel::buildQuality()
{
    m_qualityValue = new ThemedLabel(QString(), Theme::monospacedFont(11), &Theme::inkSecondary);
    auto* title = new QHBoxLayout;
    title->addWidget(new ThemedLabel(
        QStringLiteral("Quality"), Theme::serifFont(15, QFont::DemiBold), &Theme::inkSecondary));
    title->addStretch(1);
    title->addWidget(m_qualityValue);

    m_quality = new QSlider(Qt::Horizontal);
    m_quality->setRange(1, 100);
    m_quality->setSingleStep(1);
    m_quality->setPageStep(10);
    m_quality->setTracking(true);
    m_quality->setAccessibleName(QStringLiteral("Quality"));
    connect(m_quality, &QSlider::valueChanged, m_model, [this](int value) { m_model->setQuality(value); });

    auto* group = new QVBoxLayout;
    group->setSpacing(2);
    group->addLayout(title);
    group->addWidget(m_quality);
    group->addWidget(wrapping(
        new ThemedLabel(QStringLiteral("Adjust to perfect your specimen. Re-estimates the size live."),
            Theme::serifFont(12), &Theme::inkSecondary)));
    m_qualityGroup = stack(group);
    return m_qualityGroup;
}

QWidget* ExportPanel::buildColors()
{
    auto* segments = new QHBoxLayout;
    segments->setSpacing(0);
    m_colors = new QButtonGroup(this);
    const auto& choices = ExportPanelModel::gifColorChoices;
    for (size_t i = 0; i < choices.size(); ++i) {
        const SegmentButton::Position position = i == 0 ? SegmentButton::Position::first
            : i + 1 == choices.size()                   ? SegmentButton::Position::last
                                                        : SegmentButton::Position::middle;
        auto* button = new SegmentButton(ExportPanelModel::colorsLabel(choices[i]), position);
        button->setFont(Theme::monospacedFont(12));
        m_colors->addButton(button, int(choices[i]));
        segments->addWidget(button, 1);
    }
    QWidget* control = stack(segments);
    control->setFixedWidth(colorsWidth);
    connect(
        m_colors, &QButtonGroup::idClicked, m_model, [this](int colors) { m_model->setGifColors(colors); });

    auto* title = new QHBoxLayout;
    title->addWidget(new ThemedLabel(
        QStringLiteral("Colors"), Theme::serifFont(15, QFont::DemiBold), &Theme::inkSecondary));
    title->addStretch(1);
    title->addWidget(control);

    m_dither = new QCheckBox(QStringLiteral("Dither: smoother gradients, larger file"));
    m_dither->setFont(Theme::serifFont(12));
    applyDitherColor();
    connect(m_dither, &QCheckBox::toggled, m_model, &ExportPanelModel::setGifDither);
    m_colorsHint
        = wrapping(new ThemedLabel(QStringLiteral("Allows up to 256 colors. Fewer reduces size and quality."),
            Theme::serifFont(12), &Theme::inkSecondary));

    auto* group = new QVBoxLayout;
    group->setSpacing(6);
    group->addLayout(title);
    group->addWidget(m_dither);
    group->addWidget(m_colorsHint);
    m_colorsGroup = stack(group);
    return m_colorsGroup;
}

QWidget* ExportPanel::buildButtons()
{
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_export = new ProminentButton(QString());
    connect(m_cancel, &QPushButton::clicked, m_model, &ExportPanelModel::cancel);
    connect(m_export, &QPushButton::clicked, m_model, &ExportPanelModel::exportNow);
    auto* row = new QHBoxLayout;
    row->setSpacing(buttonSpacing);
    row->addStretch(1);
    row->addWidget(m_cancel);
    row->addWidget(m_export);
    return stack(row);
}

QAbstractButton* ExportPanel::colorsButton(qint64 colors) const
{
    return m_colors->button(int(colors));
}

void ExportPanel::applyDitherColor()
{
    QPalette palette = m_dither->palette();
    palette.setColor(QPalette::WindowText, Theme::inkSecondary());
    m_dither->setPalette(palette);
}

void ExportPanel::showEvent(QShowEvent* event)
{
    BenchSheet::showEvent(event);
    if (std::exchange(m_appeared, true))
        return;
    m_model->appear();
    m_name->setFocus(Qt::OtherFocusReason);
    m_name->selectAll();
}

void ExportPanel::refresh()
{
    const ExportPanelModel& model = *m_model;
    if (m_name->text() != model.editedName()) {
        const QSignalBlocker blocker(m_name);
        m_name->setText(model.editedName());
    }
    m_extension->setText(model.extensionLabel());
    const std::optional<QString> problem = model.nameProblem();
    m_problem->setText(problem.value_or(QString()));
    m_problem->setVisible(problem.has_value());

    for (FormatCard* card : m_cards) {
        const ExportFormat format = card->format();
        const QSignalBlocker blocker(card);
        card->setChecked(format == model.format());
        card->setDescription(model.formatDescription(format));
        card->setSizeLabel(model.sizeLabel(format), model.sizes().count(format) > 0);
        card->setChipVisible(format == ExportFormat::png && model.animatedStrip());
    }

    m_qualityGroup->setVisible(model.format() == ExportFormat::webp);
    {
        const QSignalBlocker blocker(m_quality);
        m_quality->setValue(int(model.quality()));
    }
    m_qualityValue->setText(model.qualityText());

    m_colorsGroup->setVisible(model.format() == ExportFormat::gif);
    if (QAbstractButton* chosen = colorsButton(model.gifColors())) {
        const QSignalBlocker blocker(chosen);
        chosen->setChecked(true);
    }
    {
        const QSignalBlocker blocker(m_dither);
        m_dither->setChecked(model.gifDither());
    }
    const bool limited = model.gifColors() <= 255;
    m_dither->setVisible(limited);
    m_colorsHint->setVisible(!limited);

    // A long name is shortened in the middle on the button, never widening the sheet.
    const QString label = model.exportLabel();
    const QFontMetrics metrics = m_export->fontMetrics();
    const int padding = m_export->sizeHint().width() - metrics.horizontalAdvance(m_export->text());
    const int room = sheetWidth - 2 * margin - m_cancel->sizeHint().width() - buttonSpacing - padding;
    m_export->setText(metrics.elidedText(label, Qt::ElideMiddle, room));
    m_export->setAccessibleName(label);
    m_export->setToolTip(m_export->text() == label ? QString() : label);
    m_export->setEnabled(model.canExport());
    m_export->updateGeometry();
}

} // namespace plenoria
