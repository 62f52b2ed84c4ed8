#pragma once

#include "inspectors/controls/ThemedLabel.h"

#include <QWidget>

class QLabel;

namespace plenoria {

class ElidedLabel;

// A symbol followed by one line of text that elides in the middle, both in one theme colour: a
// header's folder or file label.
class SymbolLabel : public QWidget {
    Q_OBJECT
public:
    SymbolLabel(const QString& symbolName, int symbolSide, const QFont& font, ThemedLabel::ColorRole color,
        QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

private:
    void applySymbol();

    QString m_symbolName;
    int m_symbolSide;
    ThemedLabel::ColorRole m_color;
    QLabel* m_symbol;
    ElidedLabel* m_text;
};

} // namespace plenoria
