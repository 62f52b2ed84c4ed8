#include "collection/preview/PreviewPaneView.h"

#include "collection/preview/PreviewTile.h"

#include <QVBoxLayout>
#include <algorithm>

namespace plenoria {

PreviewPaneView::PreviewPaneView(QWidget* parent)
    : QWidget(parent)
    , m_model(new PreviewPaneModel(this))
    , m_first(new PreviewTile(*m_model))
    , m_second(new PreviewTile(*m_model))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_first, 1);
    layout->addWidget(m_second, 1);
    applyGrounds();
    connect(m_model, &PreviewPaneModel::presentationChanged, this, &PreviewPaneView::applyGrounds);
    connect(m_first, &PreviewTile::sideChanged, this, &PreviewPaneView::reportSide);
    connect(m_second, &PreviewTile::sideChanged, this, &PreviewPaneView::reportSide);
}

double PreviewPaneView::zoomSide() const
{
    if (!isVisible())
        return 0;
    return std::max(m_first->side(), m_second->side());
}

void PreviewPaneView::applyGrounds()
{
    const QList<PreviewGround> grounds = m_model->grounds();
    if (grounds.size() < 2)
        return;
    m_first->setGround(grounds[0]);
    m_second->setGround(grounds[1]);
}

void PreviewPaneView::reportSide()
{
    // Sizes before the first layout on screen are placeholders, not room the tiles really have.
    if (isVisible())
        emit zoomSideReported(zoomSide());
}

void PreviewPaneView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSizeF share(width(), height() / 2.0);
    m_first->setRoom(share);
    m_second->setRoom(share);
}

void PreviewPaneView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_model->setOnScreen(true);
    reportSide();
}

void PreviewPaneView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_model->setOnScreen(false);
}

} // namespace plenoria
