#include "inspectors/controls/InspectorSection.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QPainter>
#include <QVBoxLayout>

namespace plenoria {

InspectorSection::InspectorSection(const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_title(new ThemedLabel(title, Theme::serifFont(15, QFont::DemiBold), &Theme::inkSecondary))
    , m_layout(new QVBoxLayout(this))
{
    // The rule is painted in the top pixel; the title follows it at the section's spacing.
    m_layout->setContentsMargins(0, 1 + spacing, 0, 0);
    m_layout->setSpacing(spacing);
    m_title->setWordWrap(true);
    m_layout->addWidget(m_title);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

QString InspectorSection::title() const
{
    return m_title->text();
}

void InspectorSection::addWidget(QWidget* widget, Qt::Alignment alignment)
{
    m_layout->addWidget(widget, 0, alignment);
}

void InspectorSection::addLayout(QLayout* layout)
{
    m_layout->addLayout(layout);
}

void InspectorSection::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), 1), Theme::hairline());
}

} // namespace plenoria
