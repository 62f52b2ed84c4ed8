#include "collection/preview/PreviewColumn.h"

#include "bench/sheets/Chip.h"
#include "collection/chrome/ConfigStripView.h"
#include "collection/controller/ContentController.h"
#include "collection/preview/PreviewColumnController.h"
#include "collection/preview/PreviewPaneView.h"
#include "collection/preview/ZoomControls.h"
#include "imaging/model/HexColor.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/Divider.h"
#include "inspectors/controls/ElidedLabel.h"

#include <QHBoxLayout>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace plenoria {

PreviewColumn::PreviewColumn(ContentController& content, QWidget* parent)
    : QWidget(parent)
    , m_content(content)
    , m_controller(new PreviewColumnController(content, this))
{
    m_pane = new PreviewPaneView;
    m_strip = new ConfigStripView(new ConfigStripModel(content.prefs(), content.store()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildControlsRow());
    layout->addWidget(new Divider);
    layout->addWidget(m_pane, 1);
    layout->addWidget(new Divider);
    layout->addWidget(m_strip);

    connect(m_controller, &PreviewColumnController::changed, this, &PreviewColumn::refreshControls);
    connect(m_strip, &ConfigStripView::settingsRequested, &content, &ContentController::requestSettings);
    connect(m_pane, &PreviewPaneView::zoomSideReported, &content, &ContentController::setPreviewZoomSide);
    connect(m_controller, &PreviewColumnController::timingRepairRequested, &content,
        [&content] { content.openBench(true); });

    connect(&content, &ContentController::selectionChanged, this, &PreviewColumn::refreshPane);
    connect(&content, &ContentController::listsChanged, this, &PreviewColumn::refreshPane);
    connect(&content.store(), &FolderStore::contentRevisionChanged, this, &PreviewColumn::refreshPane);
    const Preferences& prefs = content.prefs();
    for (const auto signal :
        {&Preferences::zoomChanged, &Preferences::animateGIFsChanged, &Preferences::previewDarkHexChanged,
            &Preferences::previewLightHexChanged, &Preferences::previewDarkFirstChanged})
        connect(&prefs, signal, this, &PreviewColumn::refreshPane);
    refreshControls();
    refreshPane();
}

QWidget* PreviewColumn::buildControlsRow()
{
    m_title = new ElidedLabel(QString(), QFont(), &Theme::ink, Qt::ElideMiddle);
    m_title->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_playbackChip = Chip::symbol(QString(), &Theme::moss);
    m_timingChip = new Chip(PreviewColumnController::timingChipText(), &Theme::rust);
    m_timingChip->setToolTip(PreviewColumnController::timingHelp());
    m_zoomControls = new ZoomControls(*m_controller);

    connect(
        m_playbackChip, &QAbstractButton::clicked, m_controller, &PreviewColumnController::togglePlayback);
    connect(
        m_timingChip, &QAbstractButton::clicked, m_controller, &PreviewColumnController::requestTimingRepair);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(8);
    layout->addWidget(m_title, 0, Qt::AlignVCenter);
    layout->addWidget(m_playbackChip, 0, Qt::AlignVCenter);
    layout->addWidget(m_timingChip, 0, Qt::AlignVCenter);
    layout->addSpacerItem(new QSpacerItem(12, 0, QSizePolicy::MinimumExpanding, QSizePolicy::Minimum));
    layout->addWidget(m_zoomControls, 0, Qt::AlignVCenter);
    return row;
}

void PreviewColumn::refreshControls()
{
    const bool hasItem = m_controller->hasItem();
    m_title->setFont(hasItem ? Theme::serifFont(14) : Theme::serifFont(15, QFont::DemiBold));
    m_title->setColorRole(hasItem ? &Theme::ink : &Theme::inkSecondary);
    m_title->setText(m_controller->titleText());
    m_title->updateGeometry();

    m_playbackChip->setVisible(m_controller->showsPlaybackChip());
    m_playbackChip->setSymbolName(m_controller->playbackSymbol());
    m_playbackChip->setTint(m_controller->playbackTint());
    m_playbackChip->setToolTip(m_controller->playbackHelp());
    m_timingChip->setVisible(m_controller->showsTimingChip());
}

void PreviewColumn::refreshPane()
{
    const Preferences& prefs = m_content.prefs();
    PreviewPaneModel& model = m_pane->model();
    model.setZoom(prefs.zoom());
    model.setAnimate(prefs.animateGIFs());
    model.setGrounds(parseHexColor(prefs.previewDarkHex()), parseHexColor(prefs.previewLightHex()),
        prefs.previewDarkFirst());
    model.setItem(m_content.selectedItem(), m_content.store().contentRevision());
}

} // namespace plenoria
