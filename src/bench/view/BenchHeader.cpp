#include "bench/view/BenchHeader.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ProminentButton.h"
#include "inspectors/controls/StackingRow.h"
#include "inspectors/controls/SymbolLabel.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace plenoria {

BenchHeader::BenchHeader(BenchModel& model, QWidget* parent)
    : TitledHeader(QStringLiteral("Restoration bench"), parent)
    , m_model(model)
    , m_fileLabel(new SymbolLabel(
          QStringLiteral("view-preview"), 11, Theme::monospacedFont(12), &Theme::inkSecondary))
    , m_export(new QPushButton(QStringLiteral("Export")))
    , m_cancel(new QPushButton(QStringLiteral("Cancel")))
    , m_save(new ProminentButton(QStringLiteral("Save")))
{
    auto* buttons = new QWidget;
    auto* layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    for (QPushButton* button : {m_export, m_cancel}) {
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    layout->addWidget(m_save);
    m_fileLabel->setText(model.fileName());
    m_row = new StackingRow(m_fileLabel, buttons);
    setTrailing(m_row);

    connect(m_export, &QPushButton::clicked, &model, &BenchModel::openExport);
    connect(m_cancel, &QPushButton::clicked, &model, &BenchModel::cancel);
    connect(m_save, &QPushButton::clicked, &model, &BenchModel::openSaveGate);
    connect(&model, &BenchModel::changed, this, &BenchHeader::modelChanged);
    modelChanged(BenchModel::Change::record);
}

bool BenchHeader::isStacked() const
{
    return m_row->isStacked();
}

void BenchHeader::modelChanged(BenchModel::Changes changes)
{
    if (changes & BenchModel::Change::record)
        m_save->setEnabled(!m_model.record().empty());
}

} // namespace plenoria
