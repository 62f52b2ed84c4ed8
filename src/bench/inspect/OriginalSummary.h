#pragma once

#include "imaging/model/RestorationSession.h"

#include <QString>

namespace plenoria {

// What the inspector pane says of the untouched original while no row is selected. Fixed for a
// session: its file name and bytes never change.
struct OriginalSummary {
    // The file name's extension in upper case; empty when it has none.
    QString type;
    // The byte count in whole kilobytes, rounded down and never below 1.
    qint64 kilobytes = 1;
    // Whether the original holds two or more images.
    bool animated = false;

    static const QString selectHint;
    static const QString animatedHint;

    // "12 KB".
    QString sizeText() const;

    [[nodiscard]] static OriginalSummary of(const RestorationSession& session);

    bool operator==(const OriginalSummary&) const = default;
};

} // namespace plenoria
