#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

namespace plenoria {

// The small badge of the export panel and the preview column: a text or a symbol in the
// monospaced font at 11 px, medium weight, in a tint colour, on a capsule of the tint at 15 %
// opacity. The tint is a theme role, re-read whenever the appearance changes. A chip is a plain
// button of fixed size; a passive one lets clicks through to what lies beneath.
class Chip : public QAbstractButton {
    Q_OBJECT
public:
    using ColorRole = QColor (*)();

    static constexpr int horizontalPadding = 8;
    static constexpr int verticalPadding = 3;
    static constexpr double fillOpacity = 0.15;
    static constexpr double fontSize = 11;

    // A text chip.
    Chip(const QString& text, ColorRole tint, QWidget* parent = nullptr);
    // A symbol chip: `symbolName` is a freedesktop icon name drawn as a mask in the tint.
    static Chip* symbol(const QString& symbolName, ColorRole tint, QWidget* parent = nullptr);

    QString symbolName() const { return m_symbolName; }
    void setSymbolName(const QString& name);
    ColorRole tint() const { return m_tint; }
    void setTint(ColorRole tint);
    // A passive chip takes no clicks and no focus; it only shows.
    void setPassive(bool passive);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize contentSize() const;

    QString m_symbolName;
    ColorRole m_tint;
};

} // namespace plenoria
