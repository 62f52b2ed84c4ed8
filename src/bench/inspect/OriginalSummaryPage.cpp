#include "bench/inspect/OriginalSummaryPage.h"

#include "bench/inspect/OriginalSummary.h"
#include "inspectors/controls/InspectorColumn.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>

namespace plenoria {

namespace {

QLayout* line(const QString& label, const QString& value)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(InspectorText::label(label));
    layout->addStretch(1);
    layout->addWidget(InspectorText::value(value));
    return layout;
}

} // namespace

OriginalSummaryPage::OriginalSummaryPage(const OriginalSummary& summary, BenchModel& model, QWidget* parent)
    : InspectorPage(model, parent)
{
    auto* column = new InspectorColumn(QStringLiteral("Original"));
    column->addLayout(line(QStringLiteral("Type"), summary.type));
    column->addLayout(line(QStringLiteral("Size"), summary.sizeText()));
    column->addWidget(InspectorText::note(OriginalSummary::selectHint));
    if (summary.animated)
        column->addWidget(InspectorText::note(OriginalSummary::animatedHint));
    setContent(column);
}

} // namespace plenoria
