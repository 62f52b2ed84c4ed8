#include "collection/controller/ContentController.h"

#include <QPointer>

namespace plenoria {

bool ContentController::commitRename(const ImageItem& item, const QString& newName, bool keepOpenOnFailure)
{
    bool ended = true;
    runAction([&] { ended = commitRenameAction(item, newName, keepOpenOnFailure); });
    return ended;
}

bool ContentController::commitRenameAction(
    const ImageItem& item, const QString& newName, bool keepOpenOnFailure)
{
    // The position is taken before the store changes the list: a name that drops out of the
    // listed images hands the selection to its neighbour in the list as it was.
    const QList<ImageItem> before = m_filteredItems;
    std::optional<qsizetype> position;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before.at(i).url == item.url) {
            position = i;
            break;
        }
    }

    const RenameOutcome outcome = m_store.rename(item, newName);
    switch (outcome.kind) {
    case RenameOutcome::Kind::failed:
        beep();
        showToast(outcome.message);
        if (keepOpenOnFailure)
            return false;
        break;
    case RenameOutcome::Kind::renamed:
        if (!outcome.message.isEmpty())
            showToast(outcome.message);
        if (outcome.newItem)
            setSelection(outcome.newItem->url);
        else if (position)
            selectNeighbour(*position, before);
        break;
    case RenameOutcome::Kind::unchanged:
        break;
    }
    setRenamingItemID(std::nullopt);
    if (interactionMode() == InteractionMode::browsing)
        setListFocused(true);
    return true;
}

void ContentController::cancelRename()
{
    runAction([this] {
        setRenamingItemID(std::nullopt);
        if (interactionMode() == InteractionMode::browsing)
            setListFocused(true);
    });
}

void ContentController::resolveRename()
{
    if (!m_renamingItemID)
        return;
    const std::optional<QString> typed = m_renameTextSource ? m_renameTextSource() : std::nullopt;
    std::optional<ImageItem> item;
    for (const ImageItem& listed : m_store.items()) {
        if (listed.url == *m_renamingItemID) {
            item = listed;
            break;
        }
    }
    if (typed && item)
        (void)commitRename(*item, *typed, false);
    else
        cancelRename();
}

void ContentController::putBackOriginal(const ImageItem& item)
{
    runAction([&] {
        const RestorationOutcome outcome = m_store.putBackOriginal(item);
        if (outcome.kind == RestorationOutcome::Kind::saved && outcome.item) {
            setSelection(outcome.item->url);
            showToast(
                QStringLiteral("Restored ") + outcome.item->filename + QStringLiteral(" to its original."));
        } else if (outcome.kind == RestorationOutcome::Kind::failed) {
            showToast(outcome.message);
        }
    });
}

void ContentController::revealOriginal(const ImageItem& item)
{
    // The file manager answers on the event loop, by which time the window may be gone.
    m_store.revealOriginal(item, [self = QPointer<ContentController>(this)](const QString& message) {
        if (self)
            self->showToast(message);
    });
}

} // namespace plenoria
