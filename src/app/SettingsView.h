#pragma once

#include <QList>
#include <QWidget>

class QButtonGroup;
class QStackedWidget;
class QToolButton;

namespace plenoria {

class FilingPane;
class FolderStore;
class GeneralPane;
class Preferences;
class PreviewPane;
class RestorationPane;
class SettingsController;

// The settings window: four tabs (General, Preview, Filing, Restoration) over the panes, 460
// wide, as tall as the chosen pane. Every control writes the shared preferences at once.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    enum class Tab { general, preview, filing, restoration };

    SettingsView(Preferences& prefs, FolderStore& store, QWidget* parent = nullptr);

    SettingsController& controller() const { return *m_controller; }
    Tab currentTab() const;
    void setCurrentTab(Tab tab);
    QStringList tabTitles() const;

    GeneralPane* generalPane() const { return m_general; }
    PreviewPane* previewPane() const { return m_preview; }
    FilingPane* filingPane() const { return m_filing; }
    RestorationPane* restorationPane() const { return m_restoration; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void addTab(const QString& title, const QString& symbol, QWidget* pane);
    void showPane(int index);
    void applyTabIcons();

    SettingsController* m_controller;
    QButtonGroup* m_tabs;
    QStackedWidget* m_panes;
    QList<QToolButton*> m_tabButtons;
    QStringList m_symbols;
    GeneralPane* m_general;
    PreviewPane* m_preview;
    FilingPane* m_filing;
    RestorationPane* m_restoration;
};

} // namespace plenoria
