#include "app/AppResources.h"

#include <QtGlobal>

// Qt's macro must be used outside any namespace.
static void registerPlenoriaResources()
{
    Q_INIT_RESOURCE(plenoria);
}

namespace plenoria {

void ensureAppResources()
{
    static const bool registered = [] {
        registerPlenoriaResources();
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace plenoria
