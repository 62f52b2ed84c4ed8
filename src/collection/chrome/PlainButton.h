#pragma once

#include <QAbstractButton>
#include <QColor>

namespace plenoria {

// A button without chrome: its text, or a symbol, in a theme colour (faded to 40 % while
// disabled), with a pointing hand. Links, the zoom buttons and the zoom readout are such buttons.
class PlainButton : public QAbstractButton {
    Q_OBJECT
public:
    using ColorRole = QColor (*)();

    static constexpr double disabledOpacity = 0.4;

    PlainButton(const QString& text, const QFont& font, ColorRole color, QWidget* parent = nullptr);
    // A symbol button: `symbolName` is a freedesktop icon name drawn as a mask of `symbolSize`.
    static PlainButton* symbol(
        const QString& symbolName, int symbolSize, ColorRole color, QWidget* parent = nullptr);

    ColorRole colorRole() const { return m_color; }
    void setAlignment(Qt::Alignment alignment);
    // A width of 0 follows the content.
    void setFixedContentWidth(int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbolName;
    int m_symbolSize = 0;
    ColorRole m_color;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    int m_fixedWidth = 0;
};

} // namespace plenoria
