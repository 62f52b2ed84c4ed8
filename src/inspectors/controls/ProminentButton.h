#pragma once

#include <QPushButton>

namespace plenoria {

// The button of a screen's main action: white text on a filled accent (`Theme::moss`) rounded
// rectangle, in a regular or a large control size.
class ProminentButton : public QPushButton {
    Q_OBJECT
public:
    enum class ControlSize { regular, large };

    explicit ProminentButton(
        const QString& text, ControlSize size = ControlSize::regular, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QMargins padding() const;

    ControlSize m_size;
};

} // namespace plenoria
