#pragma once

#include "CollectionFixture.h"
#include "collection/controller/KeyPress.h"

#include <QDir>
#include <QFile>
#include <chrono>

namespace plenoria::test {

// A key press as the platform would deliver it: `text` is what the key typed.
inline KeyPress press(int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return {key, text, modifiers, false};
}

// A printable key without modifiers: its key code is the upper-case character.
inline KeyPress typed(QChar character)
{
    return press(character.toUpper().unicode(), QString(character));
}

// A controller rig whose typeahead clock and system beep are in the test's hands, with the nine
// filing destinations named as given (blank entries have no destination).
struct KeyboardRig : ControllerRig {
    explicit KeyboardRig(const QStringList& names, const QStringList& destinations = {})
        : ControllerRig(names)
    {
        folder.prefs().setSubfolderNames(destinations);
        controller->setClock([this] { return clock; });
        controller->setBeep([this] {
            ++beeps;
            toastAtBeep = controller->toast();
        });
    }

    KeyPressResult key(const KeyPress& keyPress) { return controller->handleKeyPress(keyPress); }
    KeyPressResult key(QChar character) { return key(typed(character)); }
    void wait(std::chrono::milliseconds span) { clock += span; }
    bool onDisk(const QString& relativePath) const { return QFile::exists(folder.path(relativePath)); }
    std::optional<QString> toast() const { return controller->toast(); }

    std::chrono::steady_clock::time_point clock{std::chrono::hours(1)};
    int beeps = 0;
    std::optional<QString> toastAtBeep;
};

} // namespace plenoria::test
