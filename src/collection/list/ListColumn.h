#pragma once

#include <QWidget>
#include <optional>

namespace plenoria {

class FileListView;
class FilterField;
class ThemedLabel;

// The list side of the split: the filter field, a rule, and the file table, over which the empty
// state ("No emoji found…", "No matches for…") lies on the theme's background while it has text.
class ListColumn : public QWidget {
    Q_OBJECT
public:
    explicit ListColumn(qint64 focusRequest, QWidget* parent = nullptr);

    FilterField* filterField() const { return m_filter; }
    FileListView* fileList() const { return m_list; }
    void setEmptyState(const std::optional<QString>& text);
    std::optional<QString> emptyState() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FilterField* m_filter;
    FileListView* m_list;
    QWidget* m_listArea;
    ThemedLabel* m_emptyState;
};

} // namespace plenoria
