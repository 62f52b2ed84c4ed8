#pragma once

#include "collection/list/FileListModel.h"
#include "collection/list/RenameField.h"
#include "collection/list/SortOrder.h"
#include "imaging/read/ImageItem.h"

#include <QPointer>
#include <QTableView>
#include <QUrl>
#include <functional>
#include <optional>

namespace plenoria {

// The table of the images the window shows: five sortable columns, one selected row (the window's
// selection), the rename field over the name cell of the row under rename, the "edited" badge and
// the context menu of edited images. It owns no state of the window: rows, selection, sort order
// and rename come in through setters, and what the user does goes out through signals and the two
// rename handlers.
//
// It takes no keyboard focus of its own (clicks give it to the split around it, which owns the keys)
// and does no typeahead.
class FileListView : public QTableView {
    Q_OBJECT
public:
    // Widths of the fixed columns, and the name column's minimum and ideal width.
    static constexpr int typeWidth = 48;
    static constexpr int sizeWidth = 66;
    static constexpr int pixelsWidth = 84;
    static constexpr int timingWidth = 64;
    static constexpr int nameMinimumWidth = 120;
    static constexpr int nameIdealWidth = 220;

    // The item, the typed text and whether Return sent it; true when the rename ended.
    using RenameHandler = std::function<bool(const ImageItem& item, const QString& text, bool fromReturn)>;
    using CancelRenameHandler = std::function<void()>;

    explicit FileListView(QWidget* parent = nullptr);

    FileListModel& listModel() { return m_model; }

    void setItems(const QList<ImageItem>& items);
    // Selects the row of `url` (none: no row); with `scroll` it is brought into view.
    void setSelectedUrl(const std::optional<QUrl>& url, bool scroll);
    void setSortOrder(const SortOrder& order);
    // Shows the rename field over the row of `url`, or closes it.
    void setRenamingItem(const std::optional<QUrl>& url);
    void setEditedNames(const QSet<QString>& names) { m_model.setEditedNames(names); }
    void setShowBadge(bool show) { m_model.setShowBadge(show); }
    void setRenameHandlers(RenameHandler onRename, CancelRenameHandler onCancel);

    RenameField* renameField() const { return m_renameField; }
    std::optional<QUrl> renamingItem() const { return m_renamingUrl; }
    // The context menu's entries for the row at `row` (empty for an image without a backup).
    QList<QAction*> contextActions(int row, QObject* parent);

    void keyboardSearch(const QString& search) override;

signals:
    // The user selected a row (none: the selection was cleared).
    void selectionEdited(const std::optional<QUrl>& url);
    void headerClicked(SortColumn column);
    void putBackOriginalRequested(const ImageItem& item);
    void revealOriginalRequested(const ImageItem& item);

protected:
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void configureHeader();
    int fixedWidth(SortColumn column) const;
    void applyPalette();
    void onCurrentSelectionChanged();
    void showContextMenu(const QPoint& position);
    void placeRenameField();
    void closeRenameField();

    FileListModel m_model;
    bool m_applyingSelection = false;
    std::optional<QUrl> m_renamingUrl;
    QPointer<RenameField> m_renameField;
    RenameHandler m_onRename;
    CancelRenameHandler m_onCancelRename;
};

} // namespace plenoria
