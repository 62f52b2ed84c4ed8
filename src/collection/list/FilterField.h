#pragma once

#include <QLineEdit>

namespace plenoria {

// The search box above the file list. It reports every edit, whether it holds the focus, and the
// hand-off keys (Return and Down hand the focus to the list, Escape clears); it takes the focus
// when the focus request counter changes.
class FilterField : public QLineEdit {
    Q_OBJECT
public:
    // A field created with the counter at `focusRequest` does not take the focus for that value.
    explicit FilterField(qint64 focusRequest, QWidget* parent = nullptr);

    // Pushes the owner's query into the field when it differs.
    void setQuery(const QString& query);
    // Takes the focus on the next turn of the event loop, once per new value, with the caret at
    // the end of the text and nothing selected.
    void setFocusRequest(qint64 request);

signals:
    void queryEdited(const QString& query);
    void focusReported(bool focused);
    void handoff();
    void clearRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void applyIcon();
    void takeRequestedFocus();

    qint64 m_lastFocusRequest;
    QAction* m_searchIcon = nullptr;
};

} // namespace plenoria
