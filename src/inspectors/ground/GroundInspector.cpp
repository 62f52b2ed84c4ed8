#include "inspectors/ground/GroundInspector.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ColorWell.h"
#include "inspectors/controls/InspectorSection.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/SwatchRow.h"
#include "inspectors/controls/ThemedLabel.h"
#include "inspectors/ground/GroundColorKeyPanel.h"
#include "inspectors/ground/InstanceChip.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace plenoria {

namespace {

using KeyMode = GroundInspectorModel::KeyMode;

const QString introText = QStringLiteral("Remove the background, then replace it with another color if you "
                                         "want.\n\nHonestly, open the help docs for this.");
const QString removeText
    = QStringLiteral("DIY: Remove one-ish color with manual tweaks.\n"
                     "Magic: find the subjects automatically and keep the ones you choose.");
const QString subjectText
    = QStringLiteral("On-device subject detection: shapes that stand apart from the background. "
                     "No edge knobs; this only says which detected subjects stay.");

QVBoxLayout* stackIn(QWidget* widget, int spacing)
{
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

GroundInspector::GroundInspector(QWidget* parent)
    : InspectorColumn(QStringLiteral("Ground"), parent)
{
    addWidget(InspectorText::note(introText));
    addWidget(buildRemoveSection());
    addWidget(buildFillSection());
    connect(&m_model, &GroundInspectorModel::changed, this, &GroundInspector::refresh);
    refresh();
}

QWidget* GroundInspector::buildRemoveSection()
{
    auto* section = new InspectorSection(QStringLiteral("Remove"));
    section->addWidget(InspectorText::note(removeText));
    m_keyPicker = new IconSegmentedPicker(
        std::vector<IconSegmentedPicker::Segment<KeyMode>>{
            {QStringLiteral("None"), QString(), KeyMode::off},
            {QStringLiteral("DIY"), QStringLiteral("hammer"), KeyMode::color},
            {QStringLiteral("Magic"), QStringLiteral("tools-wizard"), KeyMode::subject},
        },
        Binding<KeyMode>(
            [this] { return m_model.keyMode(); }, [this](KeyMode mode) { m_model.setKeyMode(mode); }));
    section->addWidget(m_keyPicker);

    m_colorKeyPanel = new GroundColorKeyPanel(m_model);
    section->addWidget(m_colorKeyPanel);

    m_subjectPanel = new QWidget;
    QVBoxLayout* subject = stackIn(m_subjectPanel, 8);
    subject->addWidget(InspectorText::note(subjectText));
    m_chipRow = new QWidget;
    auto* chips = new QHBoxLayout(m_chipRow);
    chips->setContentsMargins(0, 0, 0, 0);
    chips->setSpacing(5);
    chips->addStretch(1);
    subject->addWidget(m_chipRow);
    m_subjectCount = InspectorText::note(QString());
    subject->addWidget(m_subjectCount);
    m_chipRow->hide();
    m_subjectCount->hide();
    section->addWidget(m_subjectPanel);
    return section;
}

QWidget* GroundInspector::buildFillSection()
{
    auto* section = new InspectorSection(QStringLiteral("Fill"));
    m_fillCaption = InspectorText::note(QString());
    section->addWidget(m_fillCaption);
    m_fillPicker = new IconSegmentedPicker(
        std::vector<IconSegmentedPicker::Segment<bool>>{
            {QStringLiteral("None"), QString(), false},
            {QStringLiteral("Fill"), QStringLiteral("draw-brush"), true},
        },
        Binding<bool>([this] { return m_model.fillOn(); }, [this](bool on) { m_model.setFillOn(on); }));
    section->addWidget(m_fillPicker);

    m_fillColorRow = new QWidget;
    auto* row = new QHBoxLayout(m_fillColorRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_fillWell = new ColorWell(QStringLiteral("Fill color"),
        Binding<QColor>([this] { return m_model.fillColor(); },
            [this](const QColor& color) { m_model.setFillColor(color); }));
    m_fillWell->setLabelVisible(false);
    m_fillHex = new ThemedLabel(QString(), Theme::monospacedFont(12), &Theme::inkSecondary);
    row->addWidget(m_fillWell, 0, Qt::AlignVCenter);
    row->addWidget(m_fillHex, 0, Qt::AlignVCenter);
    row->addStretch(1);
    section->addWidget(m_fillColorRow);

    m_fillSwatches = new SwatchRow(QString(), GroundInspectorModel::fillSwatches);
    connect(m_fillSwatches, &SwatchRow::picked, &m_model, &GroundInspectorModel::pickFillSwatch);
    section->addWidget(m_fillSwatches);
    return section;
}

void GroundInspector::setRow(const QUuid& row, Binding<GroundSpec> spec, std::optional<QImage> inputImage)
{
    m_model.setRow(row, std::move(spec), std::move(inputImage));
    refresh();
}

void GroundInspector::setOnPickColor(std::function<void()> onPickColor)
{
    m_model.setOnPickColor(std::move(onPickColor));
}

void GroundInspector::refresh()
{
    const KeyMode mode = m_model.keyMode();
    m_keyPicker->update();
    m_colorKeyPanel->setVisible(mode == KeyMode::color);
    if (mode == KeyMode::color)
        m_colorKeyPanel->refresh();
    m_subjectPanel->setVisible(mode == KeyMode::subject);
    rebuildChips();
    for (size_t i = 0; i < m_chips.size(); ++i)
        m_chips[i]->setOn(m_model.isInstanceIncluded(m_chipInstances[i]));

    m_fillCaption->setText(m_model.fillCaption());
    m_fillPicker->update();
    const bool fillOn = m_model.fillOn();
    m_fillColorRow->setVisible(fillOn);
    m_fillSwatches->setVisible(fillOn);
    if (fillOn) {
        m_fillWell->refresh();
        m_fillHex->setText(m_model.fillHex().toLower());
        m_fillSwatches->setSelected(m_model.fillHex());
    } else {
        m_fillWell->closePanel();
    }
}

void GroundInspector::rebuildChips()
{
    const std::vector<qint64>& found = m_model.availableInstances();
    // One subject, or none, leaves nothing to choose between.
    const std::vector<qint64> shown = found.size() >= 2 ? found : std::vector<qint64>{};
    if (shown == m_chipInstances)
        return;
    // A chip may be the sender of what led here; it goes once its click has been handled.
    for (InstanceChip* chip : m_chips) {
        chip->hide();
        chip->deleteLater();
    }
    m_chips.clear();
    m_chipInstances = shown;
    auto* layout = static_cast<QHBoxLayout*>(m_chipRow->layout());
    for (size_t i = 0; i < shown.size(); ++i) {
        auto* chip = new InstanceChip(QString::number(i + 1), false);
        const qint64 instance = shown[i];
        connect(chip, &InstanceChip::clicked, this, [this, instance] { m_model.toggleInstance(instance); });
        layout->insertWidget(int(i), chip, 0, Qt::AlignVCenter);
        m_chips.push_back(chip);
    }
    m_chipRow->setVisible(!shown.empty());
    m_subjectCount->setVisible(!shown.empty());
    m_subjectCount->setText(
        shown.empty() ? QString() : GroundInspectorModel::subjectCountCaption(qint64(shown.size())));
}

QString GroundInspector::subjectCountText() const
{
    return m_subjectCount->isHidden() ? QString() : m_subjectCount->text();
}

QString GroundInspector::fillCaption() const
{
    return m_fillCaption->text();
}

QString GroundInspector::fillHexText() const
{
    return m_fillHex->text();
}

} // namespace plenoria
