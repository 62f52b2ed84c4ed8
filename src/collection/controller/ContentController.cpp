#include "collection/controller/ContentController.h"

#include "collection/list/NameFilter.h"

#include <algorithm>

namespace plenoria {

// One user action: the outermost one settles when it ends.
class ContentController::Action {
public:
    explicit Action(ContentController& controller)
        : m_controller(controller)
    {
        if (m_controller.m_actionDepth++ == 0)
            m_controller.m_modeAtStart = m_controller.interactionMode();
    }
    ~Action()
    {
        if (--m_controller.m_actionDepth == 0)
            m_controller.settle();
    }
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;

private:
    ContentController& m_controller;
};

QString ContentController::keyChart()
{
    return QStringLiteral(
        "1\u20139 move file \u00B7 \u2191\u2193 select \u00B7 \u23CE rename \u00B7 \\ edit \u00B7 "
        "/ play \u00B7 \u2212 + zoom \u00B7 0 reset \u00B7 Ctrl+F filter \u00B7 Ctrl+Z undo");
}

ContentController::ContentController(
    FolderStore& store, Preferences& prefs, std::unique_ptr<ToastTimer> toastTimer, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_prefs(prefs)
    , m_toastTimer(toastTimer ? std::move(toastTimer) : std::make_unique<QtToastTimer>())
{
    connect(&m_store, &FolderStore::itemsChanged, this, &ContentController::onStoreItemsChanged);
    connect(&m_store, &FolderStore::workingFolderChanged, this, &ContentController::onWorkingFolderChanged);
    connect(&m_prefs, &Preferences::splitFractionChanged, this, &ContentController::splitChanged);
    connect(&m_prefs, &Preferences::listSideChanged, this, &ContentController::splitChanged);
}

ContentController::~ContentController() = default;

void ContentController::setSelection(const std::optional<QUrl>& url)
{
    Action action(*this);
    if (m_selection == url)
        return;
    m_selection = url;
    m_pendingSignals |= selectionSignal;
}

void ContentController::setRenamingItemID(const std::optional<QUrl>& url)
{
    Action action(*this);
    if (m_renamingItemID == url)
        return;
    m_renamingItemID = url;
    m_pendingSignals |= renamingSignal;
}

void ContentController::setEditingSession(std::optional<RestorationSession> session)
{
    Action action(*this);
    if (m_editingSession == session)
        return;
    m_editingSession = std::move(session);
    m_pendingSignals |= sessionSignal;
}

void ContentController::setFilterQuery(const QString& query)
{
    Action action(*this);
    if (m_filterQuery == query)
        return;
    m_filterQuery = query;
    m_pendingRules |= filterRule;
    m_pendingSignals |= filterQuerySignal;
}

void ContentController::setPreviewZoomSide(double side)
{
    Action action(*this);
    if (m_previewZoomSide == side)
        return;
    m_previewZoomSide = side;
    m_pendingSignals |= zoomSideSignal;
}

void ContentController::setSearchActive(bool active)
{
    Action action(*this);
    if (m_isSearchActive == active)
        return;
    m_isSearchActive = active;
    m_pendingSignals |= searchActiveSignal;
}

void ContentController::setListFocused(bool focused)
{
    Action action(*this);
    if (m_listFocused == focused && !focused)
        return;
    m_listFocused = focused;
    m_pendingSignals |= listFocusSignal;
}

void ContentController::setSortOrder(const SortOrder& order)
{
    Action action(*this);
    if (m_sortOrder == order)
        return;
    m_sortOrder = order;
    m_pendingRules |= sortRule;
    m_pendingSignals |= sortOrderSignal;
}

std::optional<ImageItem> ContentController::selectedItem() const
{
    if (!m_selection)
        return std::nullopt;
    for (const ImageItem& item : m_filteredItems) {
        if (item.url == *m_selection)
            return item;
    }
    return std::nullopt;
}

InteractionMode ContentController::interactionMode() const
{
    if (m_editingSession)
        return InteractionMode::bench;
    if (m_isSearchActive)
        return InteractionMode::filtering;
    if (m_renamingItemID)
        return InteractionMode::renaming;
    return InteractionMode::browsing;
}

QString ContentController::countText() const
{
    const qint64 count = m_store.items().size();
    const QString total
        = count == 1 ? QStringLiteral("1 specimen") : QString::number(count) + QStringLiteral(" specimens");
    if (NameFilter(m_filterQuery).isEmpty())
        return total;
    return QString::number(m_filteredItems.size()) + QStringLiteral(" of ") + total
        + QStringLiteral(" shown");
}

std::optional<QString> ContentController::emptyStateText() const
{
    if (m_store.items().isEmpty())
        return QStringLiteral("No emoji found in this folder");
    if (m_filteredItems.isEmpty())
        return QStringLiteral("No matches for \u201C") + NameFilter(m_filterQuery).trimmedQuery()
            + QStringLiteral("\u201D");
    return std::nullopt;
}

double ContentController::leftFraction() const
{
    const double fraction = m_prefs.splitFraction();
    return m_prefs.listSide() == ListSide::left ? fraction : 1 - fraction;
}

void ContentController::setLeftFraction(double fraction)
{
    m_prefs.setSplitFraction(m_prefs.listSide() == ListSide::left ? fraction : 1 - fraction);
}

double ContentController::minLeftWidth() const
{
    return m_prefs.listSide() == ListSide::left ? minListWidth : minPreviewWidth;
}

double ContentController::minRightWidth() const
{
    return m_prefs.listSide() == ListSide::left ? minPreviewWidth : minListWidth;
}

void ContentController::runAction(const std::function<void()>& work)
{
    Action action(*this);
    work();
}

void ContentController::resort()
{
    Action action(*this);
    m_sortedItems = m_sortOrder.sorted(m_store.items());
    m_pendingSignals |= listsSignal;
    refilter();
}

void ContentController::refilter()
{
    Action action(*this);
    m_filteredItems = NameFilter(m_filterQuery).apply(m_sortedItems);
    m_pendingSignals |= listsSignal;
}

void ContentController::ensureSelection()
{
    Action action(*this);
    if (m_selection) {
        for (const ImageItem& item : m_filteredItems) {
            if (item.url == *m_selection)
                return;
        }
    }
    setSelection(m_filteredItems.isEmpty() ? std::nullopt : std::optional<QUrl>(m_filteredItems.first().url));
}

void ContentController::focusFilterField()
{
    Action action(*this);
    setSearchActive(true);
    ++m_searchFocusRequest;
    m_pendingSignals |= searchFocusSignal;
}

void ContentController::leaveFilterToList()
{
    Action action(*this);
    setSearchActive(false);
    ensureSelection();
    setListFocused(true);
}

void ContentController::clearFilter()
{
    Action action(*this);
    setSearchActive(false);
    setFilterQuery(QString());
    setListFocused(true);
}

void ContentController::showToast(const QString& message)
{
    Action action(*this);
    m_toast = message;
    ++m_toastToken;
    m_pendingSignals |= toastSignal;
    const qint64 token = m_toastToken;
    m_toastTimer->restart(toastDuration, [this, token] { hideToast(token); });
}

void ContentController::hideToast(qint64 token)
{
    // A timer that outlived its toast hides nothing.
    if (token != m_toastToken || !m_toast)
        return;
    Action action(*this);
    m_toast.reset();
    m_pendingSignals |= toastSignal;
}

void ContentController::refocusListIfBrowsing()
{
    Action action(*this);
    if (interactionMode() == InteractionMode::browsing)
        setListFocused(true);
}

void ContentController::layoutAppeared()
{
    Action action(*this);
    m_layoutShown = true;
    if (!rulesActive())
        return;
    resort();
    ensureSelection();
    refocusListIfBrowsing();
}

void ContentController::sceneBecameActive()
{
    if (!rulesActive())
        return;
    Action action(*this);
    m_store.reload();
    refocusListIfBrowsing();
}

void ContentController::focusFilterRequested()
{
    if (!rulesActive() || m_editingSession)
        return;
    focusFilterField();
}

void ContentController::refresh()
{
    Action action(*this);
    m_store.reload();
}

void ContentController::chooseFolder()
{
    // Not inside an action: the chooser runs its own event loop, and what it changes in the store
    // settles on its own when it arrives.
    m_store.chooseFolder();
}

void ContentController::onStoreItemsChanged()
{
    if (!rulesActive())
        return;
    Action action(*this);
    m_pendingRules |= storeItemsRule;
}

void ContentController::onWorkingFolderChanged()
{
    emit showsCollectionChanged();
}

void ContentController::settle()
{
    // Rules may raise further rules (a repair moves the selection); the loop runs until quiet.
    ++m_actionDepth;
    while (m_pendingRules != 0 && rulesActive()) {
        const unsigned rules = std::exchange(m_pendingRules, 0u);
        if (rules & storeItemsRule) {
            resort();
            ensureSelection();
        } else {
            if (rules & sortRule)
                resort();
            if (rules & filterRule) {
                refilter();
                ensureSelection();
            }
        }
    }
    m_pendingRules = 0;
    if ((m_pendingSignals & listsSignal) && rulesActive())
        endRenameOutOfSight();
    if ((m_pendingSignals & selectionSignal) && rulesActive())
        refocusListIfBrowsing();
    --m_actionDepth;

    const bool modeChanged = interactionMode() != m_modeAtStart;
    emitPending(std::exchange(m_pendingSignals, 0u), modeChanged);
}

void ContentController::endRenameOutOfSight()
{
    if (!m_renamingItemID
        || std::any_of(m_filteredItems.cbegin(), m_filteredItems.cend(),
            [this](const ImageItem& item) { return item.url == *m_renamingItemID; }))
        return;
    // A field whose row is not shown would take every key unseen: the rename ends as Escape ends
    // it, and the keys go back to the list.
    setRenamingItemID(std::nullopt);
    refocusListIfBrowsing();
}

void ContentController::emitPending(unsigned signalsToEmit, bool modeChanged)
{
    // Lists first, so that views look the selection up among the new rows; focus last.
    if (signalsToEmit & listsSignal)
        emit listsChanged();
    if (signalsToEmit & sortOrderSignal)
        emit sortOrderChanged();
    if (signalsToEmit & filterQuerySignal)
        emit filterQueryChanged();
    if (signalsToEmit & selectionSignal)
        emit selectionChanged();
    if (signalsToEmit & renamingSignal)
        emit renamingItemIDChanged();
    if (signalsToEmit & sessionSignal)
        emit editingSessionChanged();
    if (signalsToEmit & searchActiveSignal)
        emit searchActiveChanged();
    if (modeChanged)
        emit interactionModeChanged();
    if (signalsToEmit & zoomSideSignal)
        emit previewZoomSideChanged();
    if (signalsToEmit & toastSignal)
        emit toastChanged();
    if (signalsToEmit & searchFocusSignal)
        emit searchFocusRequested(m_searchFocusRequest);
    if (signalsToEmit & listFocusSignal)
        emit listFocusedChanged();
}

} // namespace plenoria
