#include "bench/inspect/ExtendInspector.h"

#include "bench/inspect/AnchorGrid.h"
#include "bench/inspect/PixelField.h"
#include "bench/inspect/SquareLockButton.h"
#include "inspectors/controls/InspectorColumn.h"
#include "inspectors/controls/InspectorSection.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>
#include <QSignalBlocker>

namespace plenoria {

ExtendInspector::ExtendInspector(BenchModel& model, QWidget* parent)
    : InspectorPage(model, parent)
    , m_width(new PixelField(QStringLiteral("W"), {}))
    , m_height(new PixelField(QStringLiteral("H"), {}))
    , m_lock(new SquareLockButton)
    , m_caption(InspectorText::caption(QString()))
    , m_grid(new AnchorGrid)
{
    auto* column = new InspectorColumn(QStringLiteral("Extend"));
    column->addWidget(InspectorText::note(QStringLiteral(
        "Grow the canvas and place the original inside. New space is transparent. Pick an anchor and it "
        "holds as you resize.")));

    auto* fields = new QHBoxLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setSpacing(8);
    fields->addWidget(m_width, 1, Qt::AlignVCenter);
    fields->addWidget(m_lock, 0, Qt::AlignVCenter);
    fields->addWidget(m_height, 1, Qt::AlignVCenter);
    auto* size = new InspectorSection(QStringLiteral("Size"));
    size->addLayout(fields);
    size->addWidget(m_caption);
    column->addWidget(size);

    auto* place = new InspectorSection(QStringLiteral("Place"));
    place->addWidget(m_grid, Qt::AlignLeft);
    column->addWidget(place);
    setContent(column);

    connect(m_lock, &QToolButton::clicked, this, [this] { this->model().toggleSquareLock(m_row); });
    connect(m_grid, &AnchorGrid::picked, this,
        [this](Anchor anchor) { this->model().setExtendAnchor(m_row, anchor); });
}

QString ExtendInspector::captionText() const
{
    return m_caption->text();
}

QString ExtendInspector::sizeCaption(QSizeF input, qint64 targetWidth, qint64 targetHeight)
{
    return QStringLiteral("Image %1\u00D7%2 \u2192 %3\u00D7%4.")
        .arg(qint64(input.width()))
        .arg(qint64(input.height()))
        .arg(targetWidth)
        .arg(targetHeight);
}

void ExtendInspector::enter(qint64 row)
{
    model().extendCameIntoView(row);
}

void ExtendInspector::refresh(qint64 row, BenchModel::Changes changes)
{
    using Change = BenchModel::Change;
    if (!(changes & (Change::record | Change::selection | Change::extendSquareLocked)))
        return;
    m_row = row;
    BenchModel& bench = model();
    m_width->setBinding(bench.extendSideBinding(row, Qt::Horizontal));
    m_height->setBinding(bench.extendSideBinding(row, Qt::Vertical));
    {
        const QSignalBlocker blocker(m_lock);
        m_lock->setChecked(bench.extendSquareLocked());
    }
    const TreatmentRecord& record = bench.record();
    const ExtendSpec target = row >= 0 && row < qint64(record.size())
        ? record[size_t(row)].treatment.extendSpec().value_or(ExtendSpec{})
        : ExtendSpec{};
    m_caption->setText(sizeCaption(bench.inputSizeAt(row), target.width, target.height));
    m_grid->setActive(target.anchor);
}

} // namespace plenoria
