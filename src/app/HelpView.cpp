#include "app/HelpView.h"

#include "app/HelpBrowser.h"
#include "app/HelpController.h"

#include <QDesktopServices>
#include <QVBoxLayout>

namespace plenoria {

HelpView::HelpView(HelpPage page, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_controller(new HelpController(this))
    , m_browser(new HelpBrowser)
{
    setWindowTitle(QStringLiteral("Plenoria Help"));
    setMinimumSize(minimumContentWidth, minimumContentHeight);
    resize(defaultWidth, defaultHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);

    connect(m_browser, &QTextBrowser::anchorClicked, m_controller, &HelpController::follow);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
        [this](const QUrl& url) { m_controller->shown(url, m_browser->documentTitle()); });
    connect(m_controller, &HelpController::pageRequested, this,
        [this](const QUrl& url) { m_browser->setSource(url); });
    connect(m_controller, &HelpController::anchorRequested, m_browser, &QTextBrowser::scrollToAnchor);
    connect(m_controller, &HelpController::errorPageRequested, this, [this](const QString& html) {
        m_browser->setHtml(html);
        m_controller->shownErrorPage();
    });
    connect(m_controller, &HelpController::externalLinkRequested, this,
        [](const QUrl& url) { QDesktopServices::openUrl(url); });
    m_controller->open(page);
}

} // namespace plenoria
