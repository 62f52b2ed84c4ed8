#include "QtPrinting.h"
#include "app/AppearanceController.h"
#include "app/DesktopColorScheme.h"
#include "app/DesktopSchemeSource.h"
#include "app/HelpBrowser.h"
#include "app/HelpController.h"
#include "app/HelpView.h"
#include "app/MainWindow.h"
#include "app/PlenoriaApp.h"
#include "app/SettingsView.h"
#include "collection/chrome/HResizableSplit.h"
#include "collection/controller/ContentController.h"
#include "collection/list/FilterField.h"
#include "collection/window/ContentView.h"
#include "imaging/model/Theme.h"
#include "store/Preferences.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// The application over settings and a folder of its own.
struct AppRig {
    explicit AppRig(bool rememberFolder = true)
        : settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    {
        QImage(4, 4, QImage::Format_ARGB32).save(QDir(folder.path()).filePath(QStringLiteral("a.png")));
        if (rememberFolder)
            settings.setValue(QStringLiteral("workingFolderBookmark"),
                QByteArray("plenoria-folder-path 1\n") + folder.path().toUtf8());
        app = std::make_unique<PlenoriaApp>(FolderStoreServices{}, &settings);
    }

    MainWindow* open()
    {
        MainWindow* window = app->openMainWindow();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        QCoreApplication::processEvents();
        return window;
    }

    QTemporaryDir folder;
    QTemporaryDir settingsDir;
    QSettings settings;
    std::unique_ptr<PlenoriaApp> app;
};

// A desktop whose colour scheme the test chooses, and changes while the program runs.
class FakeDesktop final : public DesktopSchemeSource {
public:
    explicit FakeDesktop(std::optional<Appearance> preference)
        : m_preference(preference)
    { }
    void start() override { }
    std::optional<Appearance> preference() const override { return m_preference; }
    void change(std::optional<Appearance> preference)
    {
        m_preference = preference;
        emit preferenceChanged();
    }

private:
    std::optional<Appearance> m_preference;
};

// The appearance the application shows, provided the palette was built for it.
std::optional<Appearance> shownAppearance()
{
    if (QApplication::palette().color(QPalette::Window) != Theme::windowBackground())
        return std::nullopt;
    return Theme::appearance();
}

} // namespace

TEST(ApplicationShell, CtrlFFocusesTheFilterExceptOnTheBench)
{
    AppRig rig;
    MainWindow* window = rig.open();
    ContentView* content = window->content();
    EXPECT_EQ(QApplication::focusWidget(), content->split());

    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), content->filterField());
    EXPECT_TRUE(content->controller().isSearchActive());

    QTest::keyClick(content->filterField(), Qt::Key_Return);
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QDir(rig.folder.path()).filePath(QStringLiteral("a.png")));
    content->controller().setEditingSession(session);
    rig.app->filterAction()->trigger();
    QCoreApplication::processEvents();
    EXPECT_NE(QApplication::focusWidget(), content->filterField());
    EXPECT_FALSE(content->controller().isSearchActive());
}

TEST(ApplicationShell, OpensTheRememberedFolderOrTheFirstRunScreen)
{
    AppRig remembered;
    MainWindow* window = remembered.open();
    EXPECT_FALSE(window->content()->showsFirstRunScreen());
    EXPECT_EQ(window->content()->controller().filteredItems().size(), 1);
    EXPECT_EQ(window->minimumSize(), QSize(560, 480));
    window->resize(300, 200);
    EXPECT_GE(window->width(), 560);
    EXPECT_GE(window->height(), 480);

    AppRig fresh(false);
    EXPECT_TRUE(fresh.open()->content()->showsFirstRunScreen());
}

TEST(ApplicationShell, SettingsAndHelpEachOpenOneWindow)
{
    AppRig rig;
    rig.open();
    EXPECT_EQ(rig.app->settingsAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    rig.app->settingsAction()->trigger();
    SettingsView* settings = rig.app->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    settings->setCurrentTab(SettingsView::Tab::filing);
    settings->close();
    rig.app->settingsAction()->trigger();
    EXPECT_EQ(rig.app->settingsWindow(), settings);
    EXPECT_EQ(settings->currentTab(), SettingsView::Tab::filing);

    // The filing strip's "Edit in Settings" reaches the same window.
    settings->close();
    ASSERT_FALSE(rig.app->mainWindows().isEmpty());
    rig.app->mainWindows().at(0)->content()->controller().requestSettings();
    EXPECT_EQ(rig.app->settingsWindow(), settings);
    EXPECT_TRUE(settings->isVisible());

    EXPECT_EQ(rig.app->helpAction()->text(), "Plenoria Help");
    rig.app->helpAction()->trigger();
    HelpView* help = rig.app->helpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Plenoria Help");
    EXPECT_EQ(help->size(), QSize(840, 720));
    EXPECT_EQ(help->minimumSize(), QSize(620, 420));
    EXPECT_EQ(help->browser()->source(), HelpController::pageUrl(HelpPage::welcome));
    rig.app->helpAction()->trigger();
    EXPECT_EQ(rig.app->helpWindow(), help);
    EXPECT_EQ(QApplication::topLevelWidgets().count(help), 1);

    // Closed, it opens afresh on the welcome page.
    help->controller().follow(QUrl(QStringLiteral("settings.html")));
    help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(rig.app->helpWindow(), nullptr);
    HelpView* reopened = rig.app->openHelp();
    EXPECT_EQ(reopened->browser()->source(), HelpController::pageUrl(HelpPage::welcome));
}

TEST(ApplicationShell, TheMainWindowTakesBackItsStoredFrame)
{
    AppRig rig;
    rig.settings.setValue(QStringLiteral("PlenoriaWindowFrame"), QStringLiteral("{{30, 40}, {600, 500}}"));
    MainWindow* window = rig.open();
    EXPECT_EQ(window->geometry(), QRect(30, 40, 600, 500));
    window->setGeometry(50, 60, 640, 520);
    window->close();
    EXPECT_EQ(rig.settings.value(QStringLiteral("PlenoriaWindowFrame")).toString(), "{{50, 60}, {640, 520}}");
}

TEST(ApplicationShell, TheThemePreferenceSetsTheAppearanceAndThePalette)
{
    EXPECT_EQ(AppearanceController::resolve(AppTheme::light, Appearance::dark, Appearance::dark),
        Appearance::light);
    EXPECT_EQ(AppearanceController::resolve(AppTheme::dark, Appearance::light, Appearance::light),
        Appearance::dark);
    EXPECT_EQ(AppearanceController::resolve(AppTheme::system, Appearance::dark, Appearance::light),
        Appearance::dark);
    EXPECT_EQ(
        AppearanceController::resolve(AppTheme::system, std::nullopt, Appearance::dark), Appearance::dark);
    EXPECT_EQ(DesktopColorScheme::fromPortalValue(1), Appearance::dark);
    EXPECT_EQ(DesktopColorScheme::fromPortalValue(2), Appearance::light);
    EXPECT_EQ(DesktopColorScheme::fromPortalValue(0), std::nullopt);
    // Of the desktop's settings, only the colour scheme changes the preference.
    const QString appearance = QStringLiteral("org.freedesktop.appearance");
    DesktopColorScheme portal;
    portal.onSettingChanged(appearance, QStringLiteral("color-scheme"), QDBusVariant(quint32(1)));
    EXPECT_EQ(portal.preference(), Appearance::dark);
    portal.onSettingChanged(appearance, QStringLiteral("contrast"), QDBusVariant(quint32(2)));
    portal.onSettingChanged(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"),
        QDBusVariant(quint32(2)));
    EXPECT_EQ(portal.preference(), Appearance::dark);
    portal.onSettingChanged(appearance, QStringLiteral("color-scheme"), QDBusVariant(quint32(2)));
    EXPECT_EQ(portal.preference(), Appearance::light);

    AppRig rig;
    rig.app->prefs().setTheme(AppTheme::dark);
    EXPECT_EQ(Theme::appearance(), Appearance::dark);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Theme::windowBackground());
    const QColor darkWindow = QApplication::palette().color(QPalette::Window);
    rig.app->prefs().setTheme(AppTheme::light);
    EXPECT_EQ(Theme::appearance(), Appearance::light);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Theme::windowBackground());
    EXPECT_NE(QApplication::palette().color(QPalette::Window), darkWindow);
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), Theme::moss());

    // Disabled controls (Save before the record has a row) read faint in either appearance.
    for (const AppTheme theme : {AppTheme::dark, AppTheme::light}) {
        rig.app->prefs().setTheme(theme);
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            EXPECT_EQ(QApplication::palette().color(QPalette::Disabled, role), Theme::inkFaint()) << role;
    }
}

TEST(ApplicationShell, SystemAppearanceFollowsTheDesktopAndAChosenThemeOverridesIt)
{
    for (const Appearance desktopAtStart : {Appearance::dark, Appearance::light}) {
        QTemporaryDir settingsDir;
        QSettings settings(settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
        Preferences prefs(&settings);
        ASSERT_EQ(prefs.theme(), AppTheme::system);
        auto owned = std::make_unique<FakeDesktop>(desktopAtStart);
        FakeDesktop* desktop = owned.get();
        AppearanceController controller(prefs, std::move(owned));
        EXPECT_EQ(shownAppearance(), desktopAtStart);

        // The desktop switches while the program runs.
        desktop->change(Appearance::light);
        EXPECT_EQ(shownAppearance(), Appearance::light);
        desktop->change(Appearance::dark);
        EXPECT_EQ(shownAppearance(), Appearance::dark);

        prefs.setTheme(AppTheme::light);
        EXPECT_EQ(shownAppearance(), Appearance::light);
        desktop->change(Appearance::dark);
        EXPECT_EQ(shownAppearance(), Appearance::light) << "a chosen theme ignores the desktop";
        prefs.setTheme(AppTheme::dark);
        desktop->change(Appearance::light);
        EXPECT_EQ(shownAppearance(), Appearance::dark);

        prefs.setTheme(AppTheme::system);
        EXPECT_EQ(shownAppearance(), Appearance::light);
    }
}
