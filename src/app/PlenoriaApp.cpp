#include "app/PlenoriaApp.h"

#include "app/AppearanceController.h"
#include "app/FileDialogFolderChooser.h"
#include "app/FrameKeeper.h"
#include "app/HelpView.h"
#include "app/MainWindow.h"
#include "app/SettingsView.h"
#include "collection/controller/ContentController.h"
#include "collection/controller/FileManagerRevealService.h"
#include "collection/window/ContentView.h"
#include "store/PathBookmarkStore.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

namespace plenoria {

namespace {

FolderStoreServices withDesktopServices(FolderStoreServices services, QSettings* settings)
{
    if (!services.bookmarks && settings)
        services.bookmarks = std::make_shared<PathBookmarkStore>(settings);
    if (!services.chooser)
        services.chooser = std::make_shared<FileDialogFolderChooser>();
    if (!services.reveal)
        services.reveal = std::make_shared<FileManagerRevealService>();
    return services;
}

} // namespace

PlenoriaApp::PlenoriaApp(FolderStoreServices services, QSettings* settings, QObject* parent)
    : QObject(parent)
    , m_store(std::make_unique<FolderStore>(withDesktopServices(std::move(services), settings)))
    , m_prefs(settings ? std::make_unique<Preferences>(settings) : std::make_unique<Preferences>())
    , m_userSettings(settings)
    , m_appearance(new AppearanceController(*m_prefs, {}, this))
{
    createActions();
}

PlenoriaApp::~PlenoriaApp()
{
    // Windows hold views of the store and preferences: they go first.
    for (const QPointer<MainWindow>& window : std::as_const(m_windows))
        delete window.data();
    delete m_settingsWindow.data();
    delete m_helpWindow.data();
}

void PlenoriaApp::createActions()
{
    m_filter = new QAction(QStringLiteral("Filter"), this);
    m_filter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(m_filter, &QAction::triggered, this, &PlenoriaApp::focusFilterRequested);

    m_settings = new QAction(QStringLiteral("Settings\u2026"), this);
    m_settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_settings->setMenuRole(QAction::PreferencesRole);
    connect(m_settings, &QAction::triggered, this, &PlenoriaApp::openSettings);

    m_help = new QAction(QStringLiteral("Plenoria Help"), this);
    connect(m_help, &QAction::triggered, this, &PlenoriaApp::openHelp);

    m_quit = new QAction(QStringLiteral("Quit"), this);
    m_quit->setShortcut(QKeySequence::Quit);
    m_quit->setMenuRole(QAction::QuitRole);
    connect(m_quit, &QAction::triggered, qApp, &QApplication::closeAllWindows);
}

MainWindow* PlenoriaApp::openMainWindow()
{
    auto* controller = new ContentController(*m_store, *m_prefs);
    auto* content = new ContentView(controller);
    auto* window = new MainWindow(content);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &PlenoriaApp::focusFilterRequested, content, &ContentView::focusFilterRequested);
    connect(controller, &ContentController::settingsRequested, this, &PlenoriaApp::openSettings);
    addMenus(*window);
    new FrameKeeper(window, m_userSettings);
    m_windows.append(window);
    window->show();
    return window;
}

QList<MainWindow*> PlenoriaApp::mainWindows() const
{
    QList<MainWindow*> open;
    for (const QPointer<MainWindow>& window : m_windows) {
        if (window)
            open.append(window);
    }
    return open;
}

SettingsView* PlenoriaApp::settingsWindow() const
{
    return m_settingsWindow;
}

HelpView* PlenoriaApp::helpWindow() const
{
    return m_helpWindow;
}

SettingsView* PlenoriaApp::openSettings()
{
    if (!m_settingsWindow)
        m_settingsWindow = new SettingsView(*m_prefs, *m_store);
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
    return m_settingsWindow;
}

HelpView* PlenoriaApp::openHelp()
{
    if (!m_helpWindow) {
        m_helpWindow = new HelpView(HelpPage::welcome);
        m_helpWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
    return m_helpWindow;
}

void PlenoriaApp::addMenus(MainWindow& window)
{
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(m_quit);
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(m_filter);
    edit->addSeparator();
    edit->addAction(m_settings);
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(m_help);
}

} // namespace plenoria
