#pragma once

#include "store/FolderStore.h"
#include "store/Preferences.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class QAction;
class QSettings;

namespace plenoria {

class AppearanceController;
class HelpView;
class MainWindow;
class SettingsView;

// The application: the one folder store (created first, which restores and scans the remembered
// folder) and the one preferences object, the appearance, the main windows and the commands of
// their menus. "Filter" (Ctrl+F) asks every main window to focus its filter field; "Settings…"
// (Ctrl+,) shows the one settings window and "Plenoria Help" the one help window.
class PlenoriaApp : public QObject {
    Q_OBJECT
public:
    // Absent services get the desktop's: the folder dialog as the chooser, the file manager over
    // D-Bus for reveals, the remembered path in `settings` (the application's own settings when
    // none) as the bookmark store.
    explicit PlenoriaApp(
        FolderStoreServices services = {}, QSettings* settings = nullptr, QObject* parent = nullptr);
    ~PlenoriaApp() override;

    FolderStore& store() { return *m_store; }
    Preferences& prefs() { return *m_prefs; }

    MainWindow* openMainWindow();
    QList<MainWindow*> mainWindows() const;

    QAction* filterAction() const { return m_filter; }
    QAction* settingsAction() const { return m_settings; }
    QAction* helpAction() const { return m_help; }
    QAction* quitAction() const { return m_quit; }

    // The open windows, or null.
    SettingsView* settingsWindow() const;
    HelpView* helpWindow() const;

public slots:
    // Shows the settings window, made once and kept (with its chosen tab) for the whole run.
    SettingsView* openSettings();
    // Brings the help window forward, or opens it afresh on the welcome page.
    HelpView* openHelp();

signals:
    // The "Filter" command; every main window answers it.
    void focusFilterRequested();

private:
    void createActions();
    void addMenus(MainWindow& window);

    std::unique_ptr<FolderStore> m_store;
    std::unique_ptr<Preferences> m_prefs;
    QSettings* m_userSettings;
    AppearanceController* m_appearance = nullptr;
    QList<QPointer<MainWindow>> m_windows;
    QPointer<SettingsView> m_settingsWindow;
    QPointer<HelpView> m_helpWindow;
    QAction* m_filter = nullptr;
    QAction* m_settings = nullptr;
    QAction* m_help = nullptr;
    QAction* m_quit = nullptr;
};

} // namespace plenoria
