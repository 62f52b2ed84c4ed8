#pragma once

#include <QLineEdit>
#include <functional>

namespace plenoria {

// The one-line field that stands in for a file name while the user renames it in the list. It
// takes the focus once, on the next turn of the event loop after it is first shown, with the base
// name selected. Return commits (the owner may refuse, which keeps it open), Escape cancels, and
// losing the focus commits once; word-wise moves treat only letters and digits as word characters.
class RenameField : public QLineEdit {
    Q_OBJECT
public:
    // The text and whether the commit came from Return (false: from losing the focus); true when
    // the owner accepted it.
    using CommitHandler = std::function<bool(const QString& text, bool fromReturn)>;
    using CancelHandler = std::function<void()>;

    RenameField(
        const QString& filename, CommitHandler onCommit, CancelHandler onCancel, QWidget* parent = nullptr);

    // How much of the name the first selection covers: up to the last ".", or all of it when
    // there is none or it comes first. UTF-16 units.
    static qsizetype baseNameLength(const QString& filename);

    // Committed (accepted) or cancelled: the end of editing commits nothing more.
    bool isResolved() const { return m_resolved; }
    // The owner closes the field: nothing more is committed, also when the focus leaves it now.
    void dismiss();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void takeFirstFocus();
    bool moveByWord(QKeyEvent* event);

    QString m_filename;
    CommitHandler m_onCommit;
    CancelHandler m_onCancel;
    bool m_hasFocused = false;
    bool m_resolved = false;
};

} // namespace plenoria
