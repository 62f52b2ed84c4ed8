#include "inspectors/text/TextContentEditor.h"

#include "imaging/model/Theme.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace plenoria {

namespace {

constexpr int padding = 4;
constexpr double radius = 6;

} // namespace

TextContentEditor::TextContentEditor(QWidget* parent)
    : QWidget(parent)
    , m_editor(new QPlainTextEdit)
{
    setFixedHeight(editorHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setFont(Theme::serifFont(14));
    m_editor->setTabChangesFocus(true);
    m_editor->setAccessibleName(QStringLiteral("Text"));
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->setAutoFillBackground(false);
    m_editor->document()->setDocumentMargin(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding + 1, padding + 1, padding + 1, padding + 1);
    layout->addWidget(m_editor);

    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        m_text = m_editor->toPlainText();
        emit edited(m_text);
    });
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &TextContentEditor::applyColors);
    applyColors();
}

void TextContentEditor::setText(const QString& text)
{
    // Resetting the editor moves its caret to the start: only text from elsewhere may do that.
    if (text == m_text)
        return;
    m_text = text;
    const QSignalBlocker blocker(m_editor);
    m_editor->setPlainText(text);
    m_editor->moveCursor(QTextCursor::End);
}

void TextContentEditor::applyColors()
{
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Text, Theme::ink());
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Highlight, withOpacity(Theme::moss(), 0.45));
    palette.setColor(QPalette::HighlightedText, Theme::ink());
    m_editor->setPalette(palette);
    update();
}

void TextContentEditor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Theme::rule(), 1));
    painter.setBrush(Theme::raised());
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

} // namespace plenoria
