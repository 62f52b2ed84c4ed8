#pragma once

namespace plenoria {

// The main window's keyboard context; the collection's keys act only in `browsing`.
enum class InteractionMode { bench, filtering, renaming, browsing };

} // namespace plenoria
