#pragma once

namespace plenoria {

// Registers the application's bundled files (help pages, icon). They are compiled into a static
// library, where nothing else would pull them into the program. Safe to call more than once.
void ensureAppResources();

} // namespace plenoria
