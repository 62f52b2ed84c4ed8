#include "collection/list/FileListView.h"

#include "collection/list/FileNameDelegate.h"
#include "imaging/model/Theme.h"

#include <QHeaderView>
#include <QMenu>
#include <algorithm>

namespace plenoria {

FileListView::FileListView(QWidget* parent)
    : QTableView(parent)
{
    setModel(&m_model);
    setItemDelegateForColumn(int(SortColumn::name), new FileNameDelegate(this));
    setFocusPolicy(Qt::NoFocus);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setAlternatingRowColors(false);
    setFrameShape(QFrame::NoFrame);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(std::max(26, fontMetrics().height() + 10));
    configureHeader();
    applyPalette();

    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &FileListView::applyPalette);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &FileListView::onCurrentSelectionChanged);
    connect(this, &QWidget::customContextMenuRequested, this, &FileListView::showContextMenu);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
        [this](int section) { emit headerClicked(FileListModel::columnSort(section)); });
    connect(&m_model, &QAbstractItemModel::layoutChanged, this, &FileListView::placeRenameField);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &FileListView::placeRenameField);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &FileListView::placeRenameField);
}

void FileListView::configureHeader()
{
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(24);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(int(SortColumn::name), QHeaderView::Stretch);
    for (const SortColumn column :
        {SortColumn::type, SortColumn::size, SortColumn::pixels, SortColumn::timing}) {
        header->setSectionResizeMode(int(column), QHeaderView::Fixed);
        header->resizeSection(int(column), fixedWidth(column));
    }
}

int FileListView::fixedWidth(SortColumn column) const
{
    // The widths a file manager would give, widened where this system's fonts need more for the
    // longest usual text ("999 bytes", "! 100 ms") or for the header title with its sort arrow.
    const auto [width, sample] = [column]() -> std::pair<int, const char*> {
        switch (column) {
        case SortColumn::type:
            return {typeWidth, "WEBP"};
        case SortColumn::size:
            return {sizeWidth, "999 bytes"};
        case SortColumn::pixels:
            return {pixelsWidth, "9999\u00D79999"};
        case SortColumn::timing:
            return {timingWidth, "! 100 ms"};
        case SortColumn::name:
            break;
        }
        return {nameMinimumWidth, ""};
    }();
    const QFont font = m_model.cellFont(column);
    const int textWidth = QFontMetrics(font).horizontalAdvance(QString::fromUtf8(sample)) + 12;
    return std::max({width, textWidth, horizontalHeader()->sectionSizeHint(int(column))});
}

void FileListView::applyPalette()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Theme::background());
    palette.setColor(QPalette::Window, Theme::background());
    setPalette(palette);
    viewport()->update();
}

void FileListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    // The name column stretches over what the fixed columns leave. Below its ideal width it takes
    // the room before them, as much of the ideal as the table shows, and they scroll sideways: a
    // name cut to a few letters no longer tells one file from another.
    int fixedWidths = 0;
    for (const SortColumn column :
        {SortColumn::type, SortColumn::size, SortColumn::pixels, SortColumn::timing})
        fixedWidths += horizontalHeader()->sectionSize(int(column));
    const int room = viewport()->width();
    const bool roomy = room - fixedWidths >= nameIdealWidth;
    QHeaderView* header = horizontalHeader();
    const QHeaderView::ResizeMode wanted = roomy ? QHeaderView::Stretch : QHeaderView::Fixed;
    if (header->sectionResizeMode(int(SortColumn::name)) != wanted)
        header->setSectionResizeMode(int(SortColumn::name), wanted);
    if (!roomy)
        header->resizeSection(int(SortColumn::name), std::clamp(room, nameMinimumWidth, nameIdealWidth));
}

void FileListView::setItems(const QList<ImageItem>& items)
{
    m_applyingSelection = true;
    m_model.setItems(items);
    m_applyingSelection = false;
}

void FileListView::setSelectedUrl(const std::optional<QUrl>& url, bool scroll)
{
    const std::optional<int> row = url ? m_model.rowOf(*url) : std::nullopt;
    m_applyingSelection = true;
    if (row) {
        const QModelIndex index = m_model.index(*row, 0);
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (scroll)
            scrollTo(index, QAbstractItemView::EnsureVisible);
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
    }
    m_applyingSelection = false;
}

void FileListView::onCurrentSelectionChanged()
{
    if (m_applyingSelection)
        return;
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        emit selectionEdited(std::nullopt);
    else
        emit selectionEdited(m_model.items().at(rows.first().row()).url);
}

void FileListView::setSortOrder(const SortOrder& order)
{
    if (order.keys.isEmpty()) {
        horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    const SortKey first = order.keys.first();
    horizontalHeader()->setSortIndicator(
        int(first.column), first.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void FileListView::keyboardSearch(const QString&)
{
    // The window's keyboard map owns typeahead.
}

void FileListView::setRenameHandlers(RenameHandler onRename, CancelRenameHandler onCancel)
{
    m_onRename = std::move(onRename);
    m_onCancelRename = std::move(onCancel);
}

void FileListView::setRenamingItem(const std::optional<QUrl>& url)
{
    if (url == m_renamingUrl && (m_renameField || !url))
        return;
    closeRenameField();
    m_renamingUrl = url;
    if (!url)
        return;
    const std::optional<int> row = m_model.rowOf(*url);
    if (!row)
        return;
    const ImageItem item = m_model.items().at(*row);
    const auto commit = [this, item](const QString& text, bool fromReturn) {
        return m_onRename ? m_onRename(item, text, fromReturn) : false;
    };
    const auto cancel = [this] {
        if (m_onCancelRename)
            m_onCancelRename();
    };
    m_renameField = new RenameField(item.filename, commit, cancel, viewport());
    // A text field's own ground, not the table's, which the viewport would hand down.
    QPalette fieldPalette = m_renameField->palette();
    fieldPalette.setColor(QPalette::Base, Theme::raised());
    m_renameField->setPalette(fieldPalette);
    placeRenameField();
    m_renameField->show();
}

void FileListView::closeRenameField()
{
    if (!m_renameField)
        return;
    // Closed by its owner: whatever the focus does now commits nothing.
    m_renameField->dismiss();
    m_renameField->hide();
    m_renameField->deleteLater();
    m_renameField = nullptr;
}

void FileListView::placeRenameField()
{
    if (!m_renameField || !m_renamingUrl)
        return;
    const std::optional<int> row = m_model.rowOf(*m_renamingUrl);
    if (!row) {
        // The row went away with the list's last change; the owner closes the field next.
        m_renameField->move(-10000, -10000);
        return;
    }
    m_renameField->setGeometry(visualRect(m_model.index(*row, int(SortColumn::name))).adjusted(1, 1, -1, -1));
}

void FileListView::updateGeometries()
{
    QTableView::updateGeometries();
    placeRenameField();
}

void FileListView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    placeRenameField();
}

QList<QAction*> FileListView::contextActions(int row, QObject* parent)
{
    if (row < 0 || row >= m_model.items().size())
        return {};
    const ImageItem item = m_model.items().at(row);
    if (!m_model.isEdited(item))
        return {};
    auto* restore = new QAction(QStringLiteral("Restore original image"), parent);
    connect(restore, &QAction::triggered, this, [this, item] { emit putBackOriginalRequested(item); });
    auto* reveal = new QAction(QStringLiteral("Show original in File Manager"), parent);
    connect(reveal, &QAction::triggered, this, [this, item] { emit revealOriginalRequested(item); });
    return {restore, reveal};
}

void FileListView::showContextMenu(const QPoint& position)
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid())
        return;
    QMenu menu(this);
    const QList<QAction*> actions = contextActions(index.row(), &menu);
    if (actions.isEmpty())
        return;
    menu.addActions(actions);
    menu.exec(viewport()->mapToGlobal(position));
}

} // namespace plenoria
