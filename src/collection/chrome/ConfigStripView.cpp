#include "collection/chrome/ConfigStripView.h"

#include "collection/chrome/KeyBadge.h"
#include "collection/chrome/PlainButton.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/ElidedLabel.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace plenoria {

ConfigStripView::ConfigStripView(ConfigStripModel* model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_editLink(
          new PlainButton(QStringLiteral("Edit in Settings"), Theme::monospacedFont(12), &Theme::inkFaint))
    , m_nameLink(new PlainButton(QStringLiteral("Name your filing destinations in Settings"),
          Theme::monospacedFont(12), &Theme::inkSecondary))
    , m_rowsLayout(new QVBoxLayout)
{
    m_model->setParent(this);
    auto* title = new ThemedLabel(
        QStringLiteral("Filing destinations"), Theme::serifFont(17, QFont::Bold), &Theme::ink);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(8);
    header->addWidget(title, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_editLink, 0, Qt::AlignVCenter);

    m_nameLink->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(rowSpacing);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(rowSpacing);
    layout->addLayout(header);
    layout->addLayout(m_rowsLayout);
    layout->addWidget(m_nameLink);

    connect(m_editLink, &QAbstractButton::clicked, this, &ConfigStripView::settingsRequested);
    connect(m_nameLink, &QAbstractButton::clicked, this, &ConfigStripView::settingsRequested);
    connect(m_model, &ConfigStripModel::changed, this, &ConfigStripView::rebuild);
    rebuild();
}

void ConfigStripView::rebuild()
{
    for (QWidget* row : std::as_const(m_rows))
        delete row;
    m_rows.clear();
    const QList<DestinationRow> rows = m_model->rows();
    for (const DestinationRow& row : rows) {
        QWidget* widget = makeRow(row);
        m_rowsLayout->addWidget(widget);
        m_rows.append(widget);
    }
    m_editLink->setVisible(!rows.isEmpty());
    m_nameLink->setVisible(rows.isEmpty());
}

QWidget* ConfigStripView::makeRow(const DestinationRow& row)
{
    auto* widget = new QWidget;
    auto* name = new ElidedLabel(row.name, Theme::monospacedFont(12), &Theme::ink, Qt::ElideMiddle);
    name->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* count = new ThemedLabel(row.countText(), Theme::monospacedFont(11),
        row.count && !row.refused ? &Theme::inkSecondary : &Theme::inkFaint);
    count->setObjectName(QStringLiteral("count"));

    auto* layout = new QHBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(new KeyBadge(row.number), 0, Qt::AlignVCenter);
    layout->addWidget(name, 0, Qt::AlignVCenter);
    layout->addSpacerItem(new QSpacerItem(8, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    layout->addWidget(count, 0, Qt::AlignVCenter);
    return widget;
}

} // namespace plenoria
