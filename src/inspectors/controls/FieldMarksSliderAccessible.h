#pragma once

#include <QAccessibleWidget>

namespace plenoria {

class FieldMarksSlider;

// What assistive technology sees of a FieldMarksSlider: one slider element (no children) named by
// its label, valued by its value text, whose increase and decrease actions step it as the arrow
// keys do.
class FieldMarksSliderAccessible : public QAccessibleWidget {
public:
    explicit FieldMarksSliderAccessible(FieldMarksSlider* slider);

    // Registers the factory with Qt's accessibility, once per process.
    static void install();

    QString text(QAccessible::Text text) const override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    FieldMarksSlider* slider() const;
};

} // namespace plenoria
