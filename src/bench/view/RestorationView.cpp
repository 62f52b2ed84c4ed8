#include "bench/view/RestorationView.h"

#include "bench/canvas/BenchCanvas.h"
#include "bench/frames/TimelineHost.h"
#include "bench/inspect/InspectorPane.h"
#include "bench/record/RecordColumn.h"
#include "bench/sheets/BenchSheets.h"
#include "bench/view/BenchHeader.h"
#include "bench/view/BenchStatusBar.h"
#include "bench/view/ClickAwayFilter.h"
#include "bench/view/StampFileDialog.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/Divider.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace plenoria {

RestorationView::RestorationView(BenchModel* model, const Preferences& prefs, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_prefs(prefs)
    , m_header(new BenchHeader(*model))
    , m_status(new BenchStatusBar(*model))
    , m_sheets(nullptr)
    , m_clickAway(new ClickAwayFilter(this))
{
    m_model->setParent(this);
    const QString folder = QFileInfo(m_model->session().fileURL.toLocalFile()).absolutePath();
    m_model->setStampChooser(StampFileDialog::chooser(this, folder));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(new Divider);
    layout->addWidget(buildColumns(), 1);
    layout->addWidget(new Divider);
    layout->addWidget(m_status);
    m_sheets = new BenchSheets(*m_model, this);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

QWidget* RestorationView::buildColumns()
{
    m_record = new RecordColumn(*m_model);
    m_canvas = new BenchCanvas(*m_model, m_prefs);
    m_timeline = new TimelineHost(*m_model);
    m_inspector = new InspectorPane(*m_model);

    auto* canvasColumn = new QWidget;
    auto* canvasLayout = new QVBoxLayout(canvasColumn);
    canvasLayout->setContentsMargins(0, 0, 0, 0);
    canvasLayout->setSpacing(0);
    canvasLayout->addWidget(m_canvas, 1);
    canvasLayout->addWidget(m_timeline);

    auto* columns = new QWidget;
    auto* layout = new QHBoxLayout(columns);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_record);
    layout->addWidget(new Divider(Qt::Vertical));
    layout->addWidget(canvasColumn, 1);
    layout->addWidget(new Divider(Qt::Vertical));
    layout->addWidget(m_inspector);
    return columns;
}

void RestorationView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_clickAway->install();
}

void RestorationView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_clickAway->remove();
}

void RestorationView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::background());
}

} // namespace plenoria
