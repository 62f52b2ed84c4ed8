#include "inspectors/controls/TitledHeader.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>

namespace plenoria {

TitledHeader::TitledHeader(const QString& subtitle, QWidget* parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    const QFont titleFont = Theme::serifFont(28, QFont::DemiBold);
    const QFont subtitleFont = Theme::serifFont(15, QFont::DemiBold);
    auto* title = new ThemedLabel(QStringLiteral("Plenoria"), titleFont, &Theme::ink);
    auto* second = new ThemedLabel(subtitle, subtitleFont, &Theme::inkSecondary);
    // Both sit on the bottom edge; the smaller descent is made up so that the baselines meet.
    const int descentGap = QFontMetrics(titleFont).descent() - QFontMetrics(subtitleFont).descent();
    second->setContentsMargins(0, 0, 0, std::max(0, descentGap));

    auto* titles = new QWidget;
    titles->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* titleLayout = new QHBoxLayout(titles);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(10);
    titleLayout->addWidget(title, 0, Qt::AlignBottom);
    titleLayout->addWidget(second, 0, Qt::AlignBottom);

    m_layout->setContentsMargins(20, 10, 16, 10);
    m_layout->setSpacing(16);
    m_layout->addWidget(titles, 0, Qt::AlignVCenter);
}

void TitledHeader::setTrailing(QWidget* trailing)
{
    m_layout->addWidget(trailing, 1, Qt::AlignVCenter);
}

} // namespace plenoria
