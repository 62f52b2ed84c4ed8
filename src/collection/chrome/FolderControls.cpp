#include "collection/chrome/FolderControls.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/StackingRow.h"
#include "inspectors/controls/SymbolLabel.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>

namespace plenoria {

FolderControls::FolderControls(QWidget* parent)
    : QWidget(parent)
    , m_label(new SymbolLabel(QStringLiteral("folder"), 12, Theme::monospacedFont(12), &Theme::inkSecondary))
    , m_refresh(new QPushButton(QStringLiteral("Refresh")))
    , m_change(new QPushButton(QStringLiteral("Change Folder\u2026")))
{
    auto* buttons = new QWidget;
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->setSpacing(10);
    for (QPushButton* button : {m_refresh, m_change}) {
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(false);
        buttonLayout->addWidget(button);
    }
    m_row = new StackingRow(m_label, buttons);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_row);

    connect(m_refresh, &QPushButton::clicked, this, &FolderControls::refreshRequested);
    connect(m_change, &QPushButton::clicked, this, &FolderControls::changeFolderRequested);
}

void FolderControls::setFolder(const QString& path)
{
    m_label->setText(QFileInfo(path).fileName());
    m_label->setToolTip(QDir::toNativeSeparators(path));
    m_row->itemsChanged();
}

bool FolderControls::isStacked() const
{
    return m_row->isStacked();
}

} // namespace plenoria
