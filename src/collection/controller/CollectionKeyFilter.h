#pragma once

#include <QObject>

namespace plenoria {

class ContentController;

// Hands the key presses of the widgets it watches (the split and the table) to the window's key
// map before their own handling sees them. Undo keys are also claimed ahead of menu shortcuts,
// so that a menu entry bound to Ctrl+Z can never take them from the map; Ctrl+F stays the menu's.
class CollectionKeyFilter : public QObject {
    Q_OBJECT
public:
    // The controller outlives the filter.
    explicit CollectionKeyFilter(ContentController& controller, QObject* parent = nullptr);

    void watch(QObject* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ContentController& m_controller;
};

} // namespace plenoria
