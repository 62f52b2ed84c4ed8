#pragma once

#include "inspectors/controls/ThemedLabel.h"

#include <QWidget>

namespace plenoria {

// One line of text that elides instead of growing (in the middle or at the tail); its natural
// width is the whole text's, its minimum a few characters'.
class ElidedLabel : public QWidget {
    Q_OBJECT
public:
    ElidedLabel(const QString& text, const QFont& font, ThemedLabel::ColorRole color, Qt::TextElideMode mode,
        QWidget* parent = nullptr);

    QString text() const { return m_text; }
    // The text as it fits the current width.
    QString shownText() const;
    void setText(const QString& text);
    void setColorRole(ThemedLabel::ColorRole color);
    void setAlignment(Qt::Alignment alignment);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    ThemedLabel::ColorRole m_color;
    Qt::TextElideMode m_mode;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

} // namespace plenoria
