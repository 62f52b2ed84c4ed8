#pragma once

#include <QWidget>

class QPushButton;

namespace plenoria {

class StackingRow;
class SymbolLabel;

// The header's folder label ("folder" symbol and the folder's name, its path as the tooltip) and
// its "Refresh" and "Change Folder…" buttons: side by side when both fit at their natural widths,
// else stacked and right-aligned.
class FolderControls : public QWidget {
    Q_OBJECT
public:
    explicit FolderControls(QWidget* parent = nullptr);

    // The folder's local path; its last component is shown.
    void setFolder(const QString& path);
    bool isStacked() const;

signals:
    void refreshRequested();
    void changeFolderRequested();

private:
    SymbolLabel* m_label;
    QPushButton* m_refresh;
    QPushButton* m_change;
    StackingRow* m_row;
};

} // namespace plenoria
