#include "collection/list/ListColumn.h"

#include "collection/list/FileListView.h"
#include "collection/list/FilterField.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/Divider.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QEvent>
#include <QVBoxLayout>

namespace plenoria {

ListColumn::ListColumn(qint64 focusRequest, QWidget* parent)
    : QWidget(parent)
    , m_filter(new FilterField(focusRequest))
    , m_list(new FileListView)
    , m_listArea(new QWidget)
    , m_emptyState(
          new ThemedLabel(QString(), Theme::serifFont(15, QFont::DemiBold), &Theme::inkSecondary, m_listArea))
{
    m_list->setParent(m_listArea);
    m_emptyState->setAlignment(Qt::AlignCenter);
    m_emptyState->setWordWrap(true);
    m_emptyState->setMargin(24);
    m_emptyState->setAutoFillBackground(true);
    m_emptyState->setBackgroundRole(QPalette::Window);
    m_emptyState->hide();
    m_listArea->installEventFilter(this);

    auto* filterBox = new QVBoxLayout;
    filterBox->setContentsMargins(8, 8, 8, 8);
    filterBox->addWidget(m_filter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(filterBox);
    layout->addWidget(new Divider);
    layout->addWidget(m_listArea, 1);
}

void ListColumn::setEmptyState(const std::optional<QString>& text)
{
    m_emptyState->setText(text.value_or(QString()));
    m_emptyState->setVisible(text.has_value());
    m_emptyState->raise();
}

std::optional<QString> ListColumn::emptyState() const
{
    if (m_emptyState->isHidden())
        return std::nullopt;
    return m_emptyState->text();
}

bool ListColumn::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_listArea && event->type() == QEvent::Resize) {
        m_list->setGeometry(m_listArea->rect());
        m_emptyState->setGeometry(m_listArea->rect());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plenoria
