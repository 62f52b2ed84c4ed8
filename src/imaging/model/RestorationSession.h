#pragma once

#include "imaging/model/TreatmentEntry.h"

#include <QByteArray>
#include <QUrl>
#include <QUuid>

namespace plenoria {

// The bench's document: one image file and the record of treatments edited on it. Every render
// starts from `originalData`, the file's bytes as read when the bench opened; only `record` changes.
// Lives in memory only.
struct RestorationSession {
    QUuid id = QUuid::createUuid();
    QUrl fileURL;
    QByteArray originalData;
    TreatmentRecord record;

    bool operator==(const RestorationSession&) const = default;
};

} // namespace plenoria
