#include "collection/controller/KeyPress.h"

#include <QKeyEvent>

namespace plenoria {

KeyPress KeyPress::fromEvent(const QKeyEvent& event)
{
    return {event.key(), event.text(), event.modifiers(), event.isAutoRepeat()};
}

QString KeyPress::characters() const
{
    if (withAlt())
        return {};
    if (withCtrl()) {
        if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
            return QString(QChar(key)).toLower();
        return {};
    }
    return text;
}

bool KeyPress::asksForUndo() const
{
    const QString typed = characters();
    return (withCtrl() && key == Qt::Key_Z) || typed == QStringLiteral("`") || typed == QStringLiteral(".");
}

} // namespace plenoria
