#include "collection/list/ListFooter.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ElidedLabel.h"

#include <QHBoxLayout>
#include <QPainter>

namespace plenoria {

ListFooter::ListFooter(const QString& keyChart, QWidget* parent)
    : QWidget(parent)
    , m_count(new ElidedLabel(QString(), Theme::monospacedFont(12), &Theme::inkSecondary, Qt::ElideNone))
    , m_keyChart(new ElidedLabel(keyChart, Theme::monospacedFont(11), &Theme::inkFaint, Qt::ElideRight))
{
    m_count->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_keyChart->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_keyChart->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(0);
    layout->addWidget(m_count, 0, Qt::AlignVCenter);
    layout->addSpacing(12);
    layout->addStretch(1);
    layout->addWidget(m_keyChart, 0, Qt::AlignVCenter);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void ListFooter::setCountText(const QString& text)
{
    m_count->setText(text);
}

QString ListFooter::countText() const
{
    return m_count->text();
}

void ListFooter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::surface());
}

} // namespace plenoria
