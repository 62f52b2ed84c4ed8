#include "ListHeader.h"

#include "FolderControls.h"
#include "Theme.h"
#include "ThemedLabel.h"

#include <QHBoxLayout>

namespace plenoria {

ListHeader::ListHeader(QWidget* parent)
    : QWidget(parent)
    , m_folderControls(new FolderControls)
{
    const QFont titleFont = Theme::serifFont(28, QFont::DemiBold);
    const QFont subtitleFont = Theme::serifFont(15, QFont::DemiBold);
    auto* title = new ThemedLabel(QStringLiteral("Plenoria"), titleFont, &Theme::ink);
    auto* subtitle = new ThemedLabel(QStringLiteral("Collection"), subtitleFont, &Theme::inkSecondary);
    // Both sit on the bottom edge; the smaller descent is made up so that the baselines meet.
    const int descentGap = QFontMetrics(titleFont).descent() - QFontMetrics(subtitleFont).descent();
    subtitle->setContentsMargins(0, 0, 0, std::max(0, descentGap));

    auto* titles = new QWidget;
    titles->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* titleLayout = new QHBoxLayout(titles);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(10);
    titleLayout->addWidget(title, 0, Qt::AlignBottom);
    titleLayout->addWidget(subtitle, 0, Qt::AlignBottom);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 10, 16, 10);
    layout->setSpacing(16);
    layout->addWidget(titles, 0, Qt::AlignVCenter);
    layout->addWidget(m_folderControls, 1, Qt::AlignVCenter);
}

} // namespace plenoria
