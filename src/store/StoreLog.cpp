#include "store/StoreLog.h"

namespace plenoria {

Q_LOGGING_CATEGORY(storeLog, "plenoria.store")

} // namespace plenoria
