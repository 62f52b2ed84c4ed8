#include "app/HelpBrowser.h"

#include "imaging/model/Theme.h"

#include <QResizeEvent>

namespace plenoria {

HelpBrowser::HelpBrowser(QWidget* parent)
    : QTextBrowser(parent)
{
    setOpenLinks(false);
    setFrameShape(QFrame::NoFrame);
    document()->setDocumentMargin(28);
    applyTheme();
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &HelpBrowser::applyTheme);
}

QString HelpBrowser::themeStyleSheet()
{
    const auto name = [](const QColor& color) { return color.name(QColor::HexRgb); };
    return QStringLiteral("body { color: %1; font-family: '%5'; }"
                          "h1, h2, h3 { font-family: '%5'; color: %1; }"
                          ".subtitle, .note, th { color: %2; }"
                          "a { color: %3; }"
                          "code, kbd { font-family: '%6'; color: %1; background-color: %4; }")
        .arg(name(Theme::ink()), name(Theme::inkSecondary()), name(Theme::moss()), name(Theme::raised()),
            Theme::serifFamily(), Theme::monospacedFamily());
}

void HelpBrowser::applyTheme()
{
    // The pages lie on the window's own ground, margins included, not on a field's.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Theme::windowBackground());
    palette.setColor(QPalette::Window, Theme::windowBackground());
    setPalette(palette);
    document()->setDefaultFont(Theme::serifFont(15));
    document()->setDefaultStyleSheet(themeStyleSheet());
    // A style sheet applies when a document is parsed: the page shown is read again.
    if (source().isValid())
        reload();
}

void HelpBrowser::resizeEvent(QResizeEvent* event)
{
    // The scroll area also forwards the viewport's own resizes here, which the margins cause:
    // measure the browser, not the event, and only change margins that differ.
    const int spare = std::max(0, width() - maximumColumnWidth);
    const QMargins margins(spare / 2, 0, spare - spare / 2, 0);
    if (margins != viewportMargins())
        setViewportMargins(margins);
    QTextBrowser::resizeEvent(event);
}

} // namespace plenoria
