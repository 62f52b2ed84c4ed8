#pragma once

#include "imaging/model/Treatment.h"

#include <QUuid>
#include <vector>

namespace plenoria {

// One row of a record. The id is fixed when the row is made and identifies it for selection and
// list diffing, so two rows with equal treatments are still different rows.
struct TreatmentEntry {
    QUuid id = QUuid::createUuid();
    Treatment treatment;

    TreatmentEntry() = default;
    explicit TreatmentEntry(Treatment value)
        : treatment(std::move(value))
    { }
    TreatmentEntry(QUuid rowId, Treatment value)
        : id(rowId)
        , treatment(std::move(value))
    { }

    bool operator==(const TreatmentEntry&) const = default;
};

// An ordered list of treatments, applied first to last.
using TreatmentRecord = std::vector<TreatmentEntry>;

} // namespace plenoria
