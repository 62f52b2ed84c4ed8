#pragma once

#include <QLoggingCategory>

namespace plenoria {

// The store's lines in the system log; each starts with "Plenoria: ".
Q_DECLARE_LOGGING_CATEGORY(storeLog)

} // namespace plenoria
