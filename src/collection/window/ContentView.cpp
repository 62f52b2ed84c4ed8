#include "collection/window/ContentView.h"

#include "bench/model/BenchModel.h"
#include "bench/view/RestorationView.h"
#include "collection/chrome/FirstRunScreen.h"
#include "collection/chrome/FolderControls.h"
#include "collection/chrome/HResizableSplit.h"
#include "collection/chrome/ToastView.h"
#include "collection/controller/CollectionKeyFilter.h"
#include "collection/controller/ContentController.h"
#include "collection/list/FileListView.h"
#include "collection/list/FilterField.h"
#include "collection/list/ListColumn.h"
#include "collection/list/ListFooter.h"
#include "collection/list/ListHeader.h"
#include "collection/preview/PreviewColumn.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/Divider.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace plenoria {

ContentView::ContentView(ContentController* controller, QWidget* parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_pages(new QStackedWidget(this))
    , m_firstRun(new FirstRunScreen)
    , m_toast(nullptr)
{
    m_controller->setParent(this);
    m_pages->addWidget(m_firstRun);
    m_pages->addWidget(buildCollection());
    m_toast = new ToastView(this);

    connect(
        m_firstRun, &FirstRunScreen::chooseFolderRequested, m_controller, &ContentController::chooseFolder);
    connectController();
    connectList();
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            m_controller->sceneBecameActive();
    });
    m_pages->setCurrentWidget(m_controller->showsCollection() ? m_collection : m_firstRun);
    applyListSide();
    applyLists();
}

QWidget* ContentView::buildCollection()
{
    m_collection = new QWidget;
    m_header = new ListHeader;
    m_listColumn = new ListColumn(m_controller->searchFocusRequest());
    m_previewPane = new QWidget;
    m_previewPane->setAutoFillBackground(true);
    m_previewPane->setBackgroundRole(QPalette::Window);
    auto* previewLayout = new QVBoxLayout(m_previewPane);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->setSpacing(0);
    previewLayout->addWidget(new PreviewColumn(*m_controller));
    m_split = new HResizableSplit;
    m_footer = new ListFooter(ContentController::keyChart());

    auto* layout = new QVBoxLayout(m_collection);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(new Divider);
    layout->addWidget(m_split, 1);
    layout->addWidget(new Divider);
    layout->addWidget(m_footer);
    return m_collection;
}

FileListView* ContentView::fileList() const
{
    return m_listColumn->fileList();
}

FilterField* ContentView::filterField() const
{
    return m_listColumn->filterField();
}

bool ContentView::showsFirstRunScreen() const
{
    return m_pages->currentWidget() == m_firstRun;
}

void ContentView::connectController()
{
    ContentController* c = m_controller;
    connect(c, &ContentController::showsCollectionChanged, this, &ContentView::showPage);
    connect(c, &ContentController::listsChanged, this, &ContentView::applyLists);
    connect(c, &ContentController::sortOrderChanged, this,
        [this] { fileList()->setSortOrder(m_controller->sortOrder()); });
    connect(c, &ContentController::selectionChanged, this, [this] { applySelection(true); });
    connect(c, &ContentController::renamingItemIDChanged, this,
        [this] { fileList()->setRenamingItem(m_controller->renamingItemID()); });
    connect(c, &ContentController::filterQueryChanged, this, [this] {
        filterField()->setQuery(m_controller->filterQuery());
        applyLists();
    });
    connect(c, &ContentController::searchFocusRequested, filterField(), &FilterField::setFocusRequest);
    connect(c, &ContentController::listFocusedChanged, this, &ContentView::applyListFocus);
    connect(
        c, &ContentController::toastChanged, this, [this] { m_toast->setMessage(m_controller->toast()); });
    connect(c, &ContentController::splitChanged, this, &ContentView::applyListSide);
    connect(c, &ContentController::editingSessionChanged, this, &ContentView::applyEditingSession);

    FolderStore& store = c->store();
    connect(&store, &FolderStore::editedFilenamesChanged, this,
        [this] { fileList()->setEditedNames(m_controller->store().editedFilenames()); });
    connect(&store, &FolderStore::workingFolderChanged, this, [this] {
        if (const std::optional<QUrl> folder = m_controller->store().workingFolder())
            m_header->folderControls()->setFolder(folder->toLocalFile());
    });
    Preferences& prefs = c->prefs();
    connect(&prefs, &Preferences::showEditedBadgeChanged, this,
        [this] { fileList()->setShowBadge(m_controller->prefs().showEditedBadge()); });

    if (const std::optional<QUrl> folder = store.workingFolder())
        m_header->folderControls()->setFolder(folder->toLocalFile());
    fileList()->setEditedNames(store.editedFilenames());
    fileList()->setShowBadge(prefs.showEditedBadge());
    fileList()->setSortOrder(c->sortOrder());
}

void ContentView::connectList()
{
    ContentController* c = m_controller;
    FilterField* filter = filterField();
    connect(filter, &FilterField::queryEdited, c, &ContentController::setFilterQuery);
    connect(filter, &FilterField::focusReported, c, &ContentController::setSearchActive);
    connect(filter, &FilterField::handoff, c, &ContentController::leaveFilterToList);
    connect(filter, &FilterField::clearRequested, c, &ContentController::clearFilter);

    FileListView* list = fileList();
    connect(list, &FileListView::selectionEdited, c, &ContentController::setSelection);
    connect(list, &FileListView::headerClicked, c,
        [c](SortColumn column) { c->setSortOrder(c->sortOrder().afterHeaderClick(column)); });
    connect(list, &FileListView::revealOriginalRequested, c, &ContentController::revealOriginal);
    connect(list, &FileListView::putBackOriginalRequested, c, &ContentController::putBackOriginal);
    list->setRenameHandlers([c](const ImageItem& item, const QString& text,
                                bool fromReturn) { return c->commitRename(item, text, fromReturn); },
        [c] { c->cancelRename(); });
    // An action that must settle a rename first commits what the field holds, as a click elsewhere would.
    c->setRenameTextSource([list = QPointer<FileListView>(list)]() -> std::optional<QString> {
        RenameField* field = list ? list->renameField() : nullptr;
        if (!field || field->isResolved())
            return std::nullopt;
        field->dismiss();
        return field->text();
    });
    auto* keys = new CollectionKeyFilter(*c, this);
    keys->watch(m_split);
    keys->watch(list);

    connect(m_split, &HResizableSplit::fractionDragged, c, &ContentController::setLeftFraction);
    connect(m_split, &HResizableSplit::focusReported, c, &ContentController::setListFocused);

    FolderControls* folder = m_header->folderControls();
    connect(folder, &FolderControls::refreshRequested, c, &ContentController::refresh);
    connect(folder, &FolderControls::changeFolderRequested, c, &ContentController::chooseFolder);
}

void ContentView::showPage()
{
    const bool collection = m_controller->showsCollection();
    QWidget* page = collection ? m_collection : m_firstRun;
    if (m_pages->currentWidget() == page)
        return;
    m_pages->setCurrentWidget(page);
    if (collection && isVisible())
        m_controller->layoutAppeared();
}

void ContentView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_controller->showsCollection() && m_pages->currentWidget() == m_collection)
        m_controller->layoutAppeared();
}

void ContentView::applyListSide()
{
    const bool listLeft = m_controller->prefs().listSide() == ListSide::left;
    if (listLeft)
        m_split->setPanes(m_listColumn, m_previewPane);
    else
        m_split->setPanes(m_previewPane, m_listColumn);
    m_split->setMinimumWidths(m_controller->minLeftWidth(), m_controller->minRightWidth());
    m_split->setFraction(m_controller->leftFraction());
}

void ContentView::applyLists()
{
    fileList()->setItems(m_controller->filteredItems());
    applySelection(false);
    m_listColumn->setEmptyState(m_controller->emptyStateText());
    m_footer->setCountText(m_controller->countText());
}

void ContentView::applySelection(bool scroll)
{
    fileList()->setSelectedUrl(m_controller->selection(), scroll && m_controller->selection().has_value());
}

void ContentView::applyListFocus()
{
    if (m_controller->listFocused() && !m_split->hasFocus() && m_split->isVisible())
        m_split->setFocus(Qt::OtherFocusReason);
}

void ContentView::applyEditingSession()
{
    const std::optional<RestorationSession>& session = m_controller->editingSession();
    if (m_bench && (!session || m_bench->model().session().id != session->id)) {
        // Cancel and Save end the bench from inside its own buttons' signals.
        m_bench->hide();
        m_bench->deleteLater();
        m_bench = nullptr;
    }
    if (session && !m_bench) {
        ContentController* c = m_controller;
        auto* model = new BenchModel(*session, c->prefs().backupOnSave());
        connect(model, &BenchModel::cancelRequested, c, &ContentController::closeBench);
        connect(model, &BenchModel::saveRequested, c, &ContentController::saveFromBench);
        connect(model, &BenchModel::exportRequested, c, &ContentController::exportFromBench);
        connect(model, &BenchModel::noticePosted, c, &ContentController::showToast);
        m_bench = new RestorationView(model, c->prefs(), this);
        m_bench->setGeometry(rect());
        m_bench->show();
        m_toast->raise();
    }
    // The collection beneath takes no focus and plays no animation while the bench covers it.
    m_pages->setVisible(!m_bench);
    if (m_bench)
        m_bench->setFocus(Qt::OtherFocusReason);
}

void ContentView::focusFilterRequested()
{
    m_controller->focusFilterRequested();
}

void ContentView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pages->setGeometry(rect());
    if (m_bench)
        m_bench->setGeometry(rect());
    m_toast->reposition();
}

void ContentView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::background());
}

} // namespace plenoria
