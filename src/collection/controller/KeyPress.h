#pragma once

#include <QString>
#include <Qt>

class QKeyEvent;

namespace plenoria {

// What the window's key map answers a key press with: handled consumes the key, ignored lets it
// travel on to the rest of the window and the menus.
enum class KeyPressResult { handled, ignored };

// One key press as the window's key map sees it: the key code, the text it typed, the modifiers
// held and whether it is a repeat of a held key.
struct KeyPress {
    int key = 0;
    QString text;
    Qt::KeyboardModifiers modifiers;
    bool autoRepeat = false;

    static KeyPress fromEvent(const QKeyEvent& event);

    bool withCtrl() const { return modifiers.testFlag(Qt::ControlModifier); }
    bool withAlt() const { return modifiers.testFlag(Qt::AltModifier); }
    // The characters the map compares. Alt changes the typed character the way the map expects
    // it to (Alt+1 is no "1"), so Alt yields none. Ctrl's text is a control character, so under
    // Ctrl the key code stands for the character, in lower case.
    QString characters() const;
    // Ctrl+Z, the backquote or the full stop: the keys that undo.
    bool asksForUndo() const;

    bool operator==(const KeyPress&) const = default;
};

} // namespace plenoria
