#pragma once

#include "app/HelpPage.h"

#include <QObject>
#include <QUrl>
#include <optional>

namespace plenoria {

// Where the help window goes, without widgets: pages of the help bundle load in the window, a
// link into the bundle that reaches no page shows the error page, and every other link opens in
// the user's browser, never in the help window. Logs with the "Plenoria Help" prefix. Main thread.
class HelpController : public QObject {
    Q_OBJECT
public:
    // The help bundle: the pages, their style sheet and anything they link to.
    static inline const QString resourceFolder = QStringLiteral(":/help");

    explicit HelpController(QObject* parent = nullptr);

    // The page's file in the bundle, as a URL the browser loads ("qrc:/help/welcome.html").
    static QUrl pageUrl(HelpPage page);
    // The preformatted page that stands in for one that failed, the description escaped as text.
    static QString errorPage(const QString& description);

    // Shows `page` afresh. A page missing from the bundle leaves the window empty, unlogged.
    void open(HelpPage page);
    // A link clicked in the page shown now (relative links resolve against it).
    void follow(const QUrl& link);
    // The browser shows `url` now (a page asked for, or one from its own history); `title` is the
    // document's, empty when it has none.
    void shown(const QUrl& url, const QString& title);
    // The browser shows the error page.
    void shownErrorPage();

    QUrl currentPage() const { return m_current; }

signals:
    void pageRequested(const QUrl& url);
    void anchorRequested(const QString& anchor);
    void errorPageRequested(const QString& html);
    void externalLinkRequested(const QUrl& url);

private:
    // The bundle's file for a qrc URL; none when the URL reaches no file of the bundle.
    static std::optional<QString> bundleFile(const QUrl& url);
    static void logFinish(const QString& title);
    void fail(const QUrl& url);

    QUrl m_current;
};

} // namespace plenoria
