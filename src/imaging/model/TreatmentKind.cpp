#include "imaging/model/TreatmentKind.h"

namespace plenoria {

QString treatmentKindId(TreatmentKind kind)
{
    switch (kind) {
    case TreatmentKind::crop:
        return QStringLiteral("crop");
    case TreatmentKind::extend:
        return QStringLiteral("extend");
    case TreatmentKind::resize:
        return QStringLiteral("resize");
    case TreatmentKind::ground:
        return QStringLiteral("ground");
    case TreatmentKind::tone:
        return QStringLiteral("tone");
    case TreatmentKind::text:
        return QStringLiteral("text");
    case TreatmentKind::stamp:
        return QStringLiteral("stamp");
    case TreatmentKind::frames:
        return QStringLiteral("frames");
    }
    return {};
}

QString treatmentKindTitle(TreatmentKind kind)
{
    QString title = treatmentKindId(kind);
    if (!title.isEmpty())
        title[0] = title[0].toUpper();
    return title;
}

std::optional<TreatmentKind> treatmentKindFromId(const QString& id)
{
    for (TreatmentKind kind : allTreatmentKinds) {
        if (treatmentKindId(kind) == id)
            return kind;
    }
    return std::nullopt;
}

} // namespace plenoria
