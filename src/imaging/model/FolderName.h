#pragma once

#include <QString>

namespace plenoria {

// True when the name, trimmed of spaces and tabs, is not empty and holds only letters, marks and
// numbers of any script, spaces, "-" and "_".
bool isValidFolderName(const QString& name);

} // namespace plenoria
