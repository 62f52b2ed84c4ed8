#pragma once

#include "collection/chrome/ToastTimer.h"
#include "collection/controller/ContentController.h"
#include "collection/window/ContentView.h"
#include "store/FolderStore.h"
#include "store/Preferences.h"

#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>

namespace plenoria::test {

// A toast timer that runs only when the test says so.
class ManualToastTimer final : public ToastTimer {
public:
    void restart(std::chrono::milliseconds delay, std::function<void()> elapsed) override
    {
        lastDelay = delay;
        ++restarts;
        pending = std::move(elapsed);
    }
    void cancel() override { pending = {}; }
    // Lets the pending wait run out; false when none was pending.
    bool elapse()
    {
        std::function<void()> run = std::exchange(pending, {});
        if (!run)
            return false;
        run();
        return true;
    }

    std::function<void()> pending;
    std::chrono::milliseconds lastDelay{0};
    int restarts = 0;
};

// A working folder in a temporary directory with the store and preferences over settings of its
// own, so that nothing touches the user's settings.
class CollectionFolder {
public:
    explicit CollectionFolder(bool withWorkingFolder = true);

    QString path(const QString& name) const;
    QUrl url(const QString& name) const;
    // A PNG of the given size (a solid colour), written before or after the store scanned.
    void addPng(const QString& name, int width = 8, int height = 8);
    void addGif(const QString& name, int frames, int delayCentiseconds);
    void remove(const QString& name);
    void rename(const QString& from, const QString& to);

    FolderStore& store() { return *m_store; }
    Preferences& prefs() { return *m_prefs; }
    QSettings& settings() { return *m_settings; }

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_settingsDir;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<FolderStore> m_store;
    std::unique_ptr<Preferences> m_prefs;
};

// A controller over a collection folder whose files are named in `names` (PNGs), the layout shown.
struct ControllerRig {
    explicit ControllerRig(const QStringList& names = {});

    QStringList filteredNames() const;
    std::optional<QString> selectedName() const;
    void select(const QString& name);

    CollectionFolder folder;
    ManualToastTimer* timer;
    std::unique_ptr<ContentController> controller;
};

// The whole window content over a collection folder (PNGs named in `names`), on screen and active.
struct ViewRig {
    explicit ViewRig(const QStringList& names, int width = 900);

    // Runs what was deferred to the next turn of the event loop.
    static void settle();

    QWidget* focus() const;
    void select(const QString& name) { controller->setSelection(folder.url(name)); }

    CollectionFolder folder;
    ManualToastTimer* timer = nullptr;
    ContentController* controller = nullptr;
    std::unique_ptr<ContentView> view;
};

} // namespace plenoria::test
