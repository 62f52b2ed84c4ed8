#include "inspectors/controls/InspectorColumn.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QVBoxLayout>

namespace plenoria {

InspectorColumn::InspectorColumn(const QString& title, QWidget* parent)
    : QScrollArea(parent)
    , m_title(new ThemedLabel(title, Theme::serifFont(17, QFont::Bold), &Theme::ink))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWidgetResizable(true);
    // The bench's own ground shows through.
    viewport()->setAutoFillBackground(false);

    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    m_layout = new QVBoxLayout(content);
    m_layout->setContentsMargins(padding, padding, padding, padding);
    m_layout->setSpacing(spacing);
    m_title->setWordWrap(true);
    m_layout->addWidget(m_title);
    m_layout->addStretch(1);
    setWidget(content);
}

QString InspectorColumn::title() const
{
    return m_title->text();
}

void InspectorColumn::setTitle(const QString& title)
{
    m_title->setText(title);
}

void InspectorColumn::addWidget(QWidget* widget, Qt::Alignment alignment)
{
    m_layout->insertWidget(m_layout->count() - 1, widget, 0, alignment);
}

void InspectorColumn::addLayout(QLayout* layout)
{
    m_layout->insertLayout(m_layout->count() - 1, layout);
}

void InspectorColumn::clearContent()
{
    // Everything between the title (first) and the stretch (last).
    while (m_layout->count() > 2) {
        QLayoutItem* item = m_layout->takeAt(1);
        if (QWidget* widget = item->widget())
            delete widget;
        else if (QLayout* layout = item->layout())
            delete layout;
        delete item;
    }
}

} // namespace plenoria
