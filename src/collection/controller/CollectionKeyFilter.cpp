#include "collection/controller/CollectionKeyFilter.h"

#include "collection/controller/ContentController.h"
#include "collection/controller/KeyPress.h"

#include <QKeyEvent>

namespace plenoria {

CollectionKeyFilter::CollectionKeyFilter(ContentController& controller, QObject* parent)
    : QObject(parent)
    , m_controller(controller)
{ }

void CollectionKeyFilter::watch(QObject* target)
{
    target->installEventFilter(this);
}

bool CollectionKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_controller.interactionMode() == InteractionMode::browsing
            && KeyPress::fromEvent(*key).asksForUndo())
            key->accept();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_controller.handleKeyPress(KeyPress::fromEvent(*key)) == KeyPressResult::handled) {
            key->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace plenoria
