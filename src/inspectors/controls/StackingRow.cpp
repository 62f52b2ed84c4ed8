#include "inspectors/controls/StackingRow.h"

#include <QBoxLayout>

namespace plenoria {

namespace {

constexpr int rowSpacing = 12;
constexpr int columnSpacing = 8;

} // namespace

StackingRow::StackingRow(QWidget* first, QWidget* second, QWidget* parent)
    : QWidget(parent)
    , m_first(first)
    , m_second(second)
    , m_layout(new QBoxLayout(QBoxLayout::LeftToRight, this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    arrange(false);
}

void StackingRow::itemsChanged()
{
    updateGeometry();
    arrange(width() < sideBySideWidth());
}

int StackingRow::sideBySideWidth() const
{
    return m_first->sizeHint().width() + rowSpacing + m_second->sizeHint().width();
}

QSize StackingRow::sizeHint() const
{
    const int first = m_first->sizeHint().height();
    const int second = m_second->sizeHint().height();
    return {sideBySideWidth(), m_stacked ? first + columnSpacing + second : std::max(first, second)};
}

QSize StackingRow::minimumSizeHint() const
{
    const int width = std::max(m_second->minimumSizeHint().width(), m_first->minimumSizeHint().width());
    return {width, sizeHint().height()};
}

void StackingRow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange(width() < sideBySideWidth());
}

void StackingRow::arrange(bool stacked)
{
    if (stacked == m_stacked && m_layout->count() > 0)
        return;
    m_stacked = stacked;
    while (m_layout->count() > 0)
        delete m_layout->takeAt(0);
    if (stacked) {
        m_layout->setDirection(QBoxLayout::TopToBottom);
        m_layout->setSpacing(columnSpacing);
        m_layout->addWidget(m_first, 0, Qt::AlignRight);
        m_layout->addWidget(m_second, 0, Qt::AlignRight);
    } else {
        m_layout->setDirection(QBoxLayout::LeftToRight);
        m_layout->setSpacing(rowSpacing);
        m_layout->addStretch(1);
        m_layout->addWidget(m_first);
        m_layout->addWidget(m_second);
    }
    updateGeometry();
}

} // namespace plenoria
