#pragma once

#include <QWidget>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace plenoria {

class ElidedLabel;

// The header's folder label ("folder" symbol and the folder's name, its path as the tooltip) and
// its "Refresh" and "Change Folder…" buttons: side by side when both fit at their natural widths,
// else stacked and right-aligned.
class FolderControls : public QWidget {
    Q_OBJECT
public:
    explicit FolderControls(QWidget* parent = nullptr);

    // The folder's local path; its last component is shown.
    void setFolder(const QString& path);
    bool isStacked() const { return m_stacked; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void refreshRequested();
    void changeFolderRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyIcon();
    int sideBySideWidth() const;
    void arrange(bool stacked);

    QLabel* m_icon;
    ElidedLabel* m_name;
    QWidget* m_label;
    QWidget* m_buttons;
    QPushButton* m_refresh;
    QPushButton* m_change;
    QBoxLayout* m_layout;
    bool m_stacked = false;
};

} // namespace plenoria
