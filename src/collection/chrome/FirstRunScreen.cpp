#include "collection/chrome/FirstRunScreen.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ProminentButton.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QVBoxLayout>

namespace plenoria {

FirstRunScreen::FirstRunScreen(QWidget* parent)
    : QWidget(parent)
    , m_choose(
          new ProminentButton(QStringLiteral("Choose Folder\u2026"), ProminentButton::ControlSize::large))
{
    auto* title
        = new ThemedLabel(QStringLiteral("Plenoria"), Theme::serifFont(38, QFont::DemiBold), &Theme::ink);
    auto* subtitle = new ThemedLabel(QStringLiteral("Your custom emoji workbench."),
        Theme::serifFont(15, QFont::DemiBold), &Theme::inkSecondary);
    auto* message = new ThemedLabel(
        QStringLiteral("Grant Plenoria access to a folder of images to begin using the app."),
        Theme::serifFont(14), &Theme::ink);
    for (QLabel* label : {title, subtitle, message})
        label->setAlignment(Qt::AlignCenter);
    // At most 380 wide; when it wraps, the lines are balanced rather than leaving one word alone.
    // The label is given its height for that width, as a centred layout item would otherwise get
    // the height of its narrowest wrap.
    message->setWordWrap(true);
    int messageWidth = std::min(380, QFontMetrics(message->font()).horizontalAdvance(message->text()) + 2);
    const int height = message->heightForWidth(messageWidth);
    for (int narrower = messageWidth - 4; narrower > messageWidth / 2; narrower -= 4) {
        if (message->heightForWidth(narrower) != height)
            break;
        messageWidth = narrower;
    }
    message->setFixedSize(messageWidth, height);

    m_choose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_choose, &QPushButton::clicked, this, &FirstRunScreen::chooseFolderRequested);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(title, 0, Qt::AlignHCenter);
    titles->addWidget(subtitle, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 40);
    layout->setSpacing(18);
    layout->addStretch(1);
    layout->addLayout(titles);
    layout->addWidget(message, 0, Qt::AlignHCenter);
    layout->addWidget(m_choose, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

} // namespace plenoria
