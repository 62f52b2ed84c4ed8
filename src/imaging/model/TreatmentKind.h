#pragma once

#include <QString>
#include <array>
#include <optional>

namespace plenoria {

// The eight kinds of treatment, in the order of the "Add treatment" menu and of every per-kind table.
enum class TreatmentKind { crop, extend, resize, ground, tone, text, stamp, frames };

inline constexpr std::array<TreatmentKind, 8> allTreatmentKinds
    = {TreatmentKind::crop, TreatmentKind::extend, TreatmentKind::resize, TreatmentKind::ground,
        TreatmentKind::tone, TreatmentKind::text, TreatmentKind::stamp, TreatmentKind::frames};

// The raw value that identifies the kind: "crop", "extend", ...
QString treatmentKindId(TreatmentKind kind);

// The raw value with its first letter capitalised: "Crop", "Extend", ...
QString treatmentKindTitle(TreatmentKind kind);

// The kind whose raw value this is; none for any other text.
[[nodiscard]] std::optional<TreatmentKind> treatmentKindFromId(const QString& id);

} // namespace plenoria
