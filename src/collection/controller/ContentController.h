#pragma once

#include "collection/chrome/ToastTimer.h"
#include "collection/controller/InteractionMode.h"
#include "collection/controller/KeyPress.h"
#include "collection/list/SortOrder.h"
#include "imaging/model/RestorationSession.h"
#include "imaging/read/ImageItem.h"
#include "store/FolderStore.h"
#include "store/Preferences.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace plenoria {

// The main window's state and operations, without widgets: the selection, the rename and bench in
// progress, the toast, the typeahead buffer, the filter and its focus, the sort order and the two
// lists derived from the folder. Views bind to its signals and forward user input to it.
//
// Every operation runs as one action: the change rules (re-sort, re-filter, selection repair,
// focus return) run once at its end, and only then are the change signals emitted, so that an
// action that picks its own successor (filing, a rename) is not overridden by the repair. Store
// changes that no action started (a rescan on activation) settle the same way at once.
// Main thread only.
class ContentController : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds toastDuration{3500};
    static constexpr double minListWidth = 120;
    static constexpr double minPreviewWidth = 240;

    // The key reference of the footer.
    static QString keyChart();

    // The store and preferences outlive the controller. Without a timer the toast hides on the
    // event loop.
    ContentController(FolderStore& store, Preferences& prefs, std::unique_ptr<ToastTimer> toastTimer = {},
        QObject* parent = nullptr);
    ~ContentController() override;

    FolderStore& store() const { return m_store; }
    Preferences& prefs() const { return m_prefs; }

    // The collection layout is shown (a working folder is set); otherwise the first-run screen.
    bool showsCollection() const { return m_store.workingFolder().has_value(); }

    // The selected image's URL; it may name an image that is not shown.
    std::optional<QUrl> selection() const { return m_selection; }
    void setSelection(const std::optional<QUrl>& url);
    // The image whose name is being edited in the list.
    std::optional<QUrl> renamingItemID() const { return m_renamingItemID; }
    void setRenamingItemID(const std::optional<QUrl>& url);
    // The image open on the restoration bench.
    const std::optional<RestorationSession>& editingSession() const { return m_editingSession; }
    void setEditingSession(std::optional<RestorationSession> session);

    std::optional<QString> toast() const { return m_toast; }
    // Raised by every toast shown; identifies the timer of the toast on screen.
    qint64 toastToken() const { return m_toastToken; }

    QString typeaheadBuffer() const { return m_typeaheadBuffer; }
    void setTypeaheadBuffer(const QString& buffer) { m_typeaheadBuffer = buffer; }
    // None stands for the distant past.
    std::optional<std::chrono::steady_clock::time_point> lastTypeaheadKeystroke() const
    {
        return m_lastTypeaheadKeystroke;
    }
    void setLastTypeaheadKeystroke(std::optional<std::chrono::steady_clock::time_point> when)
    {
        m_lastTypeaheadKeystroke = when;
    }

    QString filterQuery() const { return m_filterQuery; }
    void setFilterQuery(const QString& query);
    // The side, in points, at which the preview tiles last drew the image (0 before any report).
    double previewZoomSide() const { return m_previewZoomSide; }
    void setPreviewZoomSide(double side);
    // Each increase asks the filter field to take the keyboard focus once.
    qint64 searchFocusRequest() const { return m_searchFocusRequest; }
    // The filter field has the keyboard focus (the field reports it).
    bool isSearchActive() const { return m_isSearchActive; }
    void setSearchActive(bool active);
    // The split area (list and previews) has the keyboard focus. Setting it true asks the view to
    // give it the focus, also when it is true already.
    bool listFocused() const { return m_listFocused; }
    void setListFocused(bool focused);

    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(const SortOrder& order);
    // The folder's images in sort order, and the part of them that the filter shows.
    const QList<ImageItem>& sortedItems() const { return m_sortedItems; }
    const QList<ImageItem>& filteredItems() const { return m_filteredItems; }

    // The shown image whose URL is the selection; none when nothing is selected or it is hidden.
    std::optional<ImageItem> selectedItem() const;
    InteractionMode interactionMode() const;
    // "12 specimens", or "3 of 12 specimens shown" while a query is typed.
    QString countText() const;
    // What the list area says instead of the table; none when the table has rows.
    std::optional<QString> emptyStateText() const;

    // The split as the list side puts it: the left pane's share of the width and its minimums.
    double leftFraction() const;
    // Writes the list's share to the preferences, whichever side the list is on.
    void setLeftFraction(double fraction);
    double minLeftWidth() const;
    double minRightWidth() const;

    // Runs `work` (store requests and state changes) as one action: the change rules run once
    // after it, so that a selection it chose survives the list change it caused.
    void runAction(const std::function<void()>& work);

    void resort();
    void refilter();
    void ensureSelection();
    void focusFilterField();
    // Return or Down in the filter field: the query stays, the list takes the focus.
    void leaveFilterToList();
    // Escape in the filter field: the query goes, the list takes the focus.
    void clearFilter();
    void showToast(const QString& message);
    void refocusListIfBrowsing();

    // The collection layout was put on screen.
    void layoutAppeared();
    // The application became active again: the folder is rescanned.
    void sceneBecameActive();
    // The application's "Filter" command; ignored while the bench is open or without a folder.
    void focusFilterRequested();
    // The header's "Refresh" and "Change Folder…".
    void refresh();
    void chooseFolder();
    // The filing strip's "Edit in Settings" links; the application opens its settings window.
    void requestSettings() { emit settingsRequested(); }

    // The keyboard map (in its own source file). Keys act only while browsing; every operation
    // runs as one action. Injectable for tests: the clock of typeahead and the system beep.
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    void setClock(Clock clock) { m_clock = std::move(clock); }
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }
    static constexpr std::chrono::milliseconds typeaheadTimeout{600};
    KeyPressResult handleKeyPress(const KeyPress& press);
    void undoLast();
    KeyPressResult beginRename();
    void moveSelection(qint64 delta);
    void selectEdge(bool first);
    // Files the selected image into destination `index` (0 to 8) and selects its neighbour.
    KeyPressResult fileSelection(qint64 index);
    void selectNeighbour(qint64 index, const QList<ImageItem>& list);
    KeyPressResult handleTypeahead(const QString& characters);
    // The bench (in its own source file). Opening reads the selected, shown image's file once into a
    // new session (with the timing repair: a frames row giving every delay of 10 ms or less 100 ms,
    // when the file has such delays); ignored without such an image, a toast when the file cannot be
    // read. Closing writes nothing. Saving and exporting go to the store and report in a toast; a
    // successful save closes the bench and selects the saved image. The list gets the focus back one
    // turn of the event loop after the bench closes.
    KeyPressResult openBench(bool timingRepair);
    void closeBench();
    void saveFromBench(const RestorationSession& session, bool backup);
    void exportFromBench(const RestorationSession& session, const QString& name, ExportFormat format,
        double quality, const GIFPalette& palette);

    // The rename field's commit (in its own source file): true when rename mode ended, false
    // when the field stays open (a refused name sent by Return).
    bool commitRename(const ImageItem& item, const QString& newName, bool keepOpenOnFailure);
    void cancelRename();
    void putBackOriginal(const ImageItem& item);
    // Shows the image's backup in the file manager; a toast says so when none could be reached.
    void revealOriginal(const ImageItem& item);
    // Where a rename in progress gets its typed text when another action must settle it first:
    // the text, or none when no field holds any (the rename is then cancelled).
    void setRenameTextSource(std::function<std::optional<QString>()> source)
    {
        m_renameTextSource = std::move(source);
    }
    // Ends a rename in progress as a loss of focus would: the typed name is committed. Runs as an
    // action of its own, so call it before opening the action that must not touch the old name.
    void resolveRename();

signals:
    void showsCollectionChanged();
    // `sortedItems`, `filteredItems` and the texts derived from them.
    void listsChanged();
    void sortOrderChanged();
    void selectionChanged();
    void renamingItemIDChanged();
    void editingSessionChanged();
    void interactionModeChanged();
    void toastChanged();
    void filterQueryChanged();
    // Carries the new `searchFocusRequest`.
    void searchFocusRequested(qint64 request);
    void searchActiveChanged();
    // Also when true is asked for again: the view gives the list the focus if it lacks it.
    void listFocusedChanged();
    void previewZoomSideChanged();
    void splitChanged();
    void settingsRequested();

private:
    class Action;
    enum Rule : unsigned { storeItemsRule = 1u << 0, sortRule = 1u << 1, filterRule = 1u << 2 };
    enum Signal : unsigned {
        listsSignal = 1u << 0,
        sortOrderSignal = 1u << 1,
        selectionSignal = 1u << 2,
        renamingSignal = 1u << 3,
        sessionSignal = 1u << 4,
        toastSignal = 1u << 5,
        filterQuerySignal = 1u << 6,
        searchFocusSignal = 1u << 7,
        searchActiveSignal = 1u << 8,
        listFocusSignal = 1u << 9,
        zoomSideSignal = 1u << 10,
    };

    bool rulesActive() const { return m_layoutShown && showsCollection(); }
    void refocusListNextTurn();
    void onStoreItemsChanged();
    void onWorkingFolderChanged();
    void hideToast(qint64 token);
    // Ends a rename whose row the shown list lost, without committing.
    void endRenameOutOfSight();
    void settle();
    void emitPending(unsigned signalsToEmit, bool modeChanged);
    std::chrono::steady_clock::time_point now() const;
    void beep() const;
    bool commitRenameAction(const ImageItem& item, const QString& newName, bool keepOpenOnFailure);
    KeyPressResult fileSelectionAction(qsizetype position, qint64 index);
    KeyPressResult typeaheadAction(const QString& letter);

    FolderStore& m_store;
    Preferences& m_prefs;
    std::unique_ptr<ToastTimer> m_toastTimer;
    Clock m_clock;
    std::function<void()> m_beep;
    std::function<std::optional<QString>()> m_renameTextSource;

    std::optional<QUrl> m_selection;
    std::optional<QUrl> m_renamingItemID;
    std::optional<RestorationSession> m_editingSession;
    std::optional<QString> m_toast;
    qint64 m_toastToken = 0;
    QString m_typeaheadBuffer;
    std::optional<std::chrono::steady_clock::time_point> m_lastTypeaheadKeystroke;
    QString m_filterQuery;
    double m_previewZoomSide = 0;
    qint64 m_searchFocusRequest = 0;
    bool m_isSearchActive = false;
    bool m_listFocused = false;
    SortOrder m_sortOrder;
    QList<ImageItem> m_sortedItems;
    QList<ImageItem> m_filteredItems;

    bool m_layoutShown = false;
    int m_actionDepth = 0;
    unsigned m_pendingRules = 0;
    unsigned m_pendingSignals = 0;
    InteractionMode m_modeAtStart = InteractionMode::browsing;
};

} // namespace plenoria
