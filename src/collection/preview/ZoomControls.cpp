#include "collection/preview/ZoomControls.h"

#include "collection/chrome/PlainButton.h"
#include "collection/preview/PreviewColumnController.h"
#include "imaging/model/Theme.h"

#include <QHBoxLayout>

namespace plenoria {

namespace {

constexpr int symbolSize = 14;

} // namespace

ZoomControls::ZoomControls(PreviewColumnController& controller, QWidget* parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_zoomOut(PlainButton::symbol(QStringLiteral("list-remove"), symbolSize, &Theme::ink))
    , m_readout(new PlainButton(QString(), Theme::monospacedFont(12), &Theme::inkSecondary))
    , m_zoomIn(PlainButton::symbol(QStringLiteral("list-add"), symbolSize, &Theme::ink))
{
    m_readout->setFixedContentWidth(readoutWidth);
    m_readout->setAlignment(Qt::AlignCenter);
    m_readout->setToolTip(PreviewColumnController::resetZoomHelp());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_zoomOut, 0, Qt::AlignVCenter);
    layout->addWidget(m_readout, 0, Qt::AlignVCenter);
    layout->addWidget(m_zoomIn, 0, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    connect(m_zoomOut, &QAbstractButton::clicked, &controller, &PreviewColumnController::zoomOut);
    connect(m_readout, &QAbstractButton::clicked, &controller, &PreviewColumnController::resetZoom);
    connect(m_zoomIn, &QAbstractButton::clicked, &controller, &PreviewColumnController::zoomIn);
    connect(&controller, &PreviewColumnController::changed, this, &ZoomControls::refresh);
    refresh();
}

void ZoomControls::refresh()
{
    m_zoomOut->setEnabled(m_controller.canZoomOut());
    m_zoomIn->setEnabled(m_controller.canZoomIn());
    m_readout->setText(m_controller.zoomLabel());
}

} // namespace plenoria
