#include "QtPrinting.h"
#include "app/AppResources.h"
#include "app/HelpBrowser.h"
#include "app/HelpController.h"
#include "app/HelpPage.h"
#include "app/HelpView.h"
#include "imaging/model/Theme.h"

#include <QDesktopServices>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// Collects the log lines written while it lives.
class LogCapture {
public:
    LogCapture() { s_lines.clear(), m_previous = qInstallMessageHandler(&LogCapture::handle); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    QStringList lines() const { return s_lines; }

private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& message)
    {
        s_lines.append(message);
    }
    static inline QStringList s_lines;
    QtMessageHandler m_previous;
};

// Takes the https links that the help window hands to the desktop, so no browser starts.
class BrowserStandIn : public QObject {
    Q_OBJECT
public:
    BrowserStandIn() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~BrowserStandIn() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

QStringList linksOf(const QTextDocument* document)
{
    QStringList links;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString href = fragment.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && !links.contains(href))
                links.append(href);
        }
    }
    return links;
}

} // namespace

TEST(HelpWindow, PagesAreNamedByTheirExactResourceNames)
{
    for (const HelpPage page : allHelpPages)
        EXPECT_EQ(helpPageFromRawValue(rawValue(page)), page);
    EXPECT_EQ(rawValue(HelpPage::restoration), "restoration");
    EXPECT_EQ(helpPageFromRawValue("Welcome"), std::nullopt);
    EXPECT_EQ(helpPageFromRawValue("welcome.html"), std::nullopt);
    EXPECT_EQ(HelpController::pageUrl(HelpPage::settings), QUrl("qrc:/help/settings.html"));
}

TEST(HelpWindow, OpensOnTheWelcomePageAndLogsTheLoad)
{
    LogCapture log;
    HelpView view;
    EXPECT_EQ(view.browser()->source(), QUrl("qrc:/help/welcome.html"));
    EXPECT_FALSE(view.browser()->documentTitle().isEmpty());
    EXPECT_TRUE(view.browser()->toPlainText().contains("Plenoria"));
    ASSERT_GE(log.lines().size(), 2);
    EXPECT_EQ(log.lines().at(0), "Plenoria Help: loading :/help/welcome.html (read access: :/help)");
    EXPECT_EQ(log.lines().at(1), "Plenoria Help: didFinish, page title = " + view.browser()->documentTitle());
}

TEST(HelpWindow, TheOpenPageTakesTheNewColoursAtOnce)
{
    Theme::setAppearance(Appearance::light);
    HelpView view;
    for (const Appearance appearance : {Appearance::dark, Appearance::light}) {
        Theme::setAppearance(appearance);
        EXPECT_EQ(view.browser()->palette().color(QPalette::Base), Theme::windowBackground());
        const QTextCursor heading = view.browser()->document()->find(QStringLiteral("Plenoria"));
        EXPECT_EQ(heading.charFormat().foreground().color(), Theme::ink());
    }
}

TEST(HelpWindow, EveryPageLoadsInTheWindowAndItsBundleLinksReachPages)
{
    HelpView view;
    for (const HelpPage page : allHelpPages) {
        SCOPED_TRACE(rawValue(page).toStdString());
        view.controller().follow(QUrl(rawValue(page) + ".html"));
        ASSERT_EQ(view.browser()->source(), HelpController::pageUrl(page));
        EXPECT_FALSE(view.browser()->documentTitle().isEmpty());
        EXPECT_GT(view.browser()->toPlainText().size(), 400);
        for (const QString& link : linksOf(view.browser()->document())) {
            SCOPED_TRACE(link.toStdString());
            const QUrl target = view.browser()->source().resolved(QUrl(link));
            if (target.scheme() != "qrc")
                continue;
            QUrl file = target;
            file.setFragment({});
            EXPECT_TRUE(QFile::exists(":" + file.path()));
        }
    }
    // Every page is reachable from the welcome page.
    view.controller().open(HelpPage::welcome);
    const QStringList welcomeLinks = linksOf(view.browser()->document());
    for (const QString page : {"collection.html", "restoration.html", "settings.html"})
        EXPECT_TRUE(welcomeLinks.contains(page)) << page.toStdString();
}

TEST(HelpWindow, AMissingPageShowsTheErrorTextEscaped)
{
    EXPECT_EQ(HelpController::errorPage("a < b & \"c\""),
        "<pre style=\"font:12px monospace;padding:20px;white-space:pre-wrap\">a &lt; b &amp; "
        "&quot;c&quot;</pre>");

    LogCapture log;
    HelpView view;
    view.controller().follow(QUrl("%3Cb%3Ebold&.html"));
    const QString text = view.browser()->toPlainText();
    EXPECT_TRUE(text.contains("<b>bold&.html")) << text.toStdString();
    EXPECT_TRUE(text.contains("couldn\u2019t be opened"));
    ASSERT_FALSE(log.lines().isEmpty());
    EXPECT_TRUE(log.lines().contains("Plenoria Help: didFinish, page title = (nil)"));
    EXPECT_TRUE(std::any_of(log.lines().cbegin(), log.lines().cend(), [](const QString& line) {
        return line.startsWith("Plenoria Help failed to load: The file \u201C<b>bold&.html\u201D");
    }));

    // Files of the bundle that are not help pages are not pages either.
    view.controller().follow(QUrl("qrc:/icons/plenoria.svg"));
    EXPECT_TRUE(view.browser()->toPlainText().contains("plenoria.svg"));
}

TEST(HelpWindow, OutsideLinksOpenInTheUsersBrowserNotInTheWindow)
{
    BrowserStandIn browser;
    HelpView view;
    view.controller().follow(QUrl("https://example.org/emoji"));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.at(0), QUrl("https://example.org/emoji"));
    EXPECT_EQ(view.browser()->source(), QUrl("qrc:/help/welcome.html"));

    HelpController controller;
    QSignalSpy external(&controller, &HelpController::externalLinkRequested);
    QSignalSpy pages(&controller, &HelpController::pageRequested);
    controller.open(HelpPage::collection);
    controller.shown(HelpController::pageUrl(HelpPage::collection), "Collection");
    controller.follow(QUrl("mailto:someone@example.org"));
    controller.follow(QUrl("file:///etc/passwd"));
    EXPECT_EQ(external.count(), 2);
    EXPECT_EQ(pages.count(), 1);
}

TEST(HelpWindow, AnchorsOnTheShownPageScrollInsteadOfReloading)
{
    HelpController controller;
    controller.shown(HelpController::pageUrl(HelpPage::collection), "Collection");
    QSignalSpy anchors(&controller, &HelpController::anchorRequested);
    QSignalSpy pages(&controller, &HelpController::pageRequested);
    controller.follow(QUrl("#keys"));
    controller.follow(QUrl("settings.html#filing"));
    ASSERT_EQ(anchors.count(), 1);
    EXPECT_EQ(anchors.at(0).at(0).toString(), "keys");
    ASSERT_EQ(pages.count(), 1);
    EXPECT_EQ(pages.at(0).at(0).toUrl(), QUrl("qrc:/help/settings.html#filing"));
}

#include "HelpWindowTest.moc"

TEST(HelpWindow, PagesDescribeOurOwnSubjectDetectionAndNameNoOtherPlatform)
{
    ensureAppResources();
    const QRegularExpression vendor(QStringLiteral("\\b(apple|safari|macos|vision|finder)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString page : {"welcome", "collection", "restoration", "settings"}) {
        QFile file(":/help/" + page + ".html");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_FALSE(text.contains(vendor))
            << page.toStdString() << ": " << vendor.match(text).captured().toStdString();
        if (page == "restoration") {
            EXPECT_TRUE(text.contains("finds the subjects automatically and keeps the ones you choose"));
            EXPECT_TRUE(
                text.contains("on-device subject detection: shapes that stand apart from the background"));
        }
    }
}
