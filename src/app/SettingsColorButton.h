#pragma once

#include <QColor>
#include <QColorDialog>
#include <QPointer>
#include <QPushButton>

namespace plenoria {

// A colour well: a swatch of the current colour (a struck-through box for the clear colour)
// that opens a colour panel without opacity. Every colour the panel reports while the user picks
// is passed on through `colorPicked`; the panel has no cancel, as settings apply at once.
class SettingsColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit SettingsColorButton(const QString& panelTitle, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    // Shows the model's colour; an open panel follows without reporting it back.
    void setColor(const QColor& color);
    // The open colour panel, if any.
    QColorDialog* panel() const { return m_panel; }

    QSize sizeHint() const override;

signals:
    void colorPicked(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openPanel();

    QString m_panelTitle;
    QColor m_color;
    QPointer<QColorDialog> m_panel;
};

} // namespace plenoria
