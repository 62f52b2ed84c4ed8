#include "app/HelpController.h"

#include "app/AppResources.h"

#include <QFileInfo>

namespace plenoria {

HelpController::HelpController(QObject* parent)
    : QObject(parent)
{
    ensureAppResources();
}

QUrl HelpController::pageUrl(HelpPage page)
{
    return QUrl(QStringLiteral("qrc%1/%2.html").arg(resourceFolder, rawValue(page)));
}

QString HelpController::errorPage(const QString& description)
{
    return QStringLiteral("<pre style=\"font:12px monospace;padding:20px;white-space:pre-wrap\">")
        + description.toHtmlEscaped() + QStringLiteral("</pre>");
}

std::optional<QString> HelpController::bundleFile(const QUrl& url)
{
    if (url.scheme() != QLatin1String("qrc"))
        return std::nullopt;
    const QString path = QLatin1Char(':') + url.path();
    const QFileInfo info(path);
    if (!path.startsWith(resourceFolder + QLatin1Char('/')) || !info.isFile())
        return std::nullopt;
    return path;
}

void HelpController::open(HelpPage page)
{
    const QUrl url = pageUrl(page);
    const std::optional<QString> file = bundleFile(url);
    if (!file)
        return;
    qWarning().noquote()
        << QStringLiteral("Plenoria Help: loading %1 (read access: %2)").arg(*file, resourceFolder);
    emit pageRequested(url);
}

void HelpController::follow(const QUrl& link)
{
    const QUrl target = m_current.resolved(link);
    if (target.scheme() != QLatin1String("qrc")) {
        emit externalLinkRequested(target);
        return;
    }
    QUrl page = target;
    page.setFragment({});
    QUrl shownPage = m_current;
    shownPage.setFragment({});
    if (page == shownPage && target.hasFragment()) {
        emit anchorRequested(target.fragment());
        return;
    }
    if (!bundleFile(page)) {
        fail(target);
        return;
    }
    emit pageRequested(target);
}

void HelpController::shown(const QUrl& url, const QString& title)
{
    m_current = url;
    logFinish(title);
}

void HelpController::shownErrorPage()
{
    logFinish({});
}

void HelpController::logFinish(const QString& title)
{
    qWarning().noquote() << QStringLiteral("Plenoria Help: didFinish, page title = %1")
                                .arg(title.isEmpty() ? QStringLiteral("(nil)") : title);
}

void HelpController::fail(const QUrl& url)
{
    const QString description = QStringLiteral(
        "The file \u201C%1\u201D couldn\u2019t be opened because there is no such file. (%2)")
                                    .arg(url.fileName(), url.toString());
    qWarning().noquote() << QStringLiteral("Plenoria Help failed to load: %1").arg(description);
    emit errorPageRequested(errorPage(description));
}

} // namespace plenoria
