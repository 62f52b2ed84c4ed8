#pragma once

#include "bench/view/RestorationView.h"

#include <QPointer>
#include <QWidget>

class QStackedWidget;

namespace plenoria {

class ContentController;
class FileListView;
class FilterField;
class FirstRunScreen;
class HResizableSplit;
class ListColumn;
class ListFooter;
class ListHeader;
class ToastView;

// The main window's content: the first-run screen while no folder is set, else the collection
// (header, the split of the list column and the preview pane, footer); while the controller holds
// an editing session, the restoration bench in the collection's place; the toast over all of it.
// It shows the controller's state and forwards what the user does to it.
class ContentView : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of the controller.
    explicit ContentView(ContentController* controller, QWidget* parent = nullptr);

    ContentController& controller() const { return *m_controller; }

    // The preview side of the split: an empty area on the theme's background, for the preview
    // column to fill (through its layout).
    QWidget* previewPane() const { return m_previewPane; }
    HResizableSplit* split() const { return m_split; }
    ListColumn* listColumn() const { return m_listColumn; }
    FileListView* fileList() const;
    FilterField* filterField() const;
    ListHeader* header() const { return m_header; }
    ListFooter* footer() const { return m_footer; }
    FirstRunScreen* firstRunScreen() const { return m_firstRun; }
    ToastView* toastView() const { return m_toast; }
    // The open bench; null while none is open.
    RestorationView* bench() const { return m_bench; }
    bool showsFirstRunScreen() const;

public slots:
    // The application's "Filter" command.
    void focusFilterRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* buildCollection();
    void connectController();
    void connectList();
    void showPage();
    void applyListSide();
    void applyLists();
    void applySelection(bool scroll);
    void applyListFocus();
    void applyEditingSession();

    ContentController* m_controller;
    QStackedWidget* m_pages;
    FirstRunScreen* m_firstRun;
    QWidget* m_collection = nullptr;
    ListHeader* m_header = nullptr;
    HResizableSplit* m_split = nullptr;
    ListColumn* m_listColumn = nullptr;
    QWidget* m_previewPane = nullptr;
    ListFooter* m_footer = nullptr;
    ToastView* m_toast;
    QPointer<RestorationView> m_bench;
};

} // namespace plenoria
