#pragma once

#include "imaging/model/Theme.h"

#include <QObject>
#include <optional>

namespace plenoria {

// Where the desktop's colour-scheme preference comes from: the settings portal in the program, a
// source a test sets by hand otherwise. None while unknown or when the desktop states no preference.
class DesktopSchemeSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Begins following the desktop; the preference may arrive later, announced by preferenceChanged.
    virtual void start() = 0;
    virtual std::optional<Appearance> preference() const = 0;

signals:
    void preferenceChanged();
};

} // namespace plenoria
