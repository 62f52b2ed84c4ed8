#pragma once

#include "inspectors/controls/Binding.h"

#include <QColor>
#include <QColorDialog>
#include <QPointer>
#include <QWidget>
#include <functional>

class QPushButton;

namespace plenoria {

class ThemedLabel;

// A labelled colour well: the label in monospaced 11 over a swatch button of the bound colour (a
// struck-through box for the clear colour). The button opens a colour panel without opacity that
// writes every colour the user moves to through the binding, as it happens. The panel closes with
// the well, or when the owner calls `closePanel` (the bench does when another row is selected), so
// a late pick never reaches a colour that is no longer shown.
class ColorWell : public QWidget {
    Q_OBJECT
public:
    // Makes the panel the well opens, parented to `parent`; tests give one of their own.
    using PanelFactory = std::function<QColorDialog*(QWidget* parent)>;

    ColorWell(const QString& label, Binding<QColor> color, QWidget* parent = nullptr);
    ~ColorWell() override;

    QPushButton* button() const { return m_button; }
    // A well beside its own caption hides the label; the label still names the button and panel.
    void setLabelVisible(bool visible);
    // The colour the well shows, read through its binding.
    QColor color() const { return m_color.get(); }
    // The open panel, if any.
    QColorDialog* panel() const { return m_panel; }
    void setPanelFactory(PanelFactory factory) { m_panelFactory = std::move(factory); }

    void setBinding(Binding<QColor> color);
    // Shows the bound colour afresh; an open panel follows without writing it back.
    void refresh();
    void openPanel();
    void closePanel();

private:
    void picked(const QColor& color);

    Binding<QColor> m_color;
    QString m_label;
    ThemedLabel* m_labelView;
    QPushButton* m_button;
    PanelFactory m_panelFactory;
    QPointer<QColorDialog> m_panel;
};

} // namespace plenoria
