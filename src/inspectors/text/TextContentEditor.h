#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace plenoria {

// The text inspector's words: a plain-text editor in the serif at 14, 52 high, on a raised rounded
// frame. Reports every change of its text; `setText` from the owner reports nothing and leaves the
// caret alone when the text is what the editor already holds.
class TextContentEditor : public QWidget {
    Q_OBJECT
public:
    static constexpr int editorHeight = 52;

    explicit TextContentEditor(QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return m_editor; }
    QString text() const { return m_text; }
    void setText(const QString& text);

signals:
    void edited(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void applyColors();

    QPlainTextEdit* m_editor;
    // What the editor holds as the owner sees it (the last text set or reported).
    QString m_text;
};

} // namespace plenoria
