#pragma once

#include "FolderStore.h"
#include "Preferences.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class QAction;
class QSettings;

namespace plenoria {

class AppearanceController;
class MainWindow;

// The application: the one folder store (created first, which restores and scans the remembered
// folder) and the one preferences object, the appearance, the main windows and the commands of
// their menus. "Filter" (Ctrl+F) asks every main window to focus its filter field; the settings
// and help commands exist and stay disabled until their windows do.
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

signals:
    // The "Filter" command; every main window answers it.
    void focusFilterRequested();

private:
    void createActions();
    void addMenus(MainWindow& window);

    std::unique_ptr<FolderStore> m_store;
    std::unique_ptr<Preferences> m_prefs;
    AppearanceController* m_appearance = nullptr;
    QList<QPointer<MainWindow>> m_windows;
    QAction* m_filter = nullptr;
    QAction* m_settings = nullptr;
    QAction* m_help = nullptr;
    QAction* m_quit = nullptr;
};

} // namespace plenoria
