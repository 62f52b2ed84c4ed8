#include "imaging/model/Treatment.h"

#include <algorithm>

namespace plenoria {

namespace {

QString groundSummary(const GroundSpec& ground)
{
    const ColorFill* fill = std::get_if<ColorFill>(&ground.fill);
    const QString fillHex = fill ? fill->hex.toLower() : QString();
    if (std::holds_alternative<ColorKey>(ground.key))
        return fill ? QStringLiteral("keyed \u2192 ") + fillHex : QStringLiteral("keyed out");
    if (std::holds_alternative<SubjectKey>(ground.key))
        return fill ? QStringLiteral("subject \u2192 ") + fillHex : QStringLiteral("subject lifted");
    return fill ? QStringLiteral("fill ") + fillHex : QStringLiteral("no change");
}

struct SummaryOf {
    QString operator()(const CropSpec& s) const { return sizeText(s.width, s.height); }
    QString operator()(const ExtendSpec& s) const { return sizeText(s.width, s.height); }
    QString operator()(const ResizeSpec& s) const
    {
        return QStringLiteral("\u2192") + QString::number(s.longestEdge) + QStringLiteral("px");
    }
    QString operator()(const GroundSpec& s) const { return groundSummary(s); }
    QString operator()(const ToneSpec& s) const { return s.summary(); }
    QString operator()(const TextSpec& s) const { return s.summary(); }
    QString operator()(const StampSpec& s) const { return s.summary(); }
    QString operator()(const FramesSpec& s) const { return s.summary(); }

    static QString sizeText(qint64 width, qint64 height)
    {
        return QString::number(width) + QStringLiteral("\u00D7") + QString::number(height);
    }
};

} // namespace

std::optional<Treatment> Treatment::defaultFor(TreatmentKind kind, QSizeF size)
{
    const qint64 w = qint64(size.width());
    const qint64 h = qint64(size.height());
    switch (kind) {
    case TreatmentKind::crop:
        return Treatment(CropSpec{0, 0, w, h});
    case TreatmentKind::extend: {
        const qint64 side = std::max(w, h);
        return Treatment(ExtendSpec{side, side, Anchor{1, 1}});
    }
    case TreatmentKind::resize:
        return Treatment(ResizeSpec{std::min<qint64>(std::max<qint64>(std::max(w, h), 1), 128)});
    case TreatmentKind::ground:
        return Treatment(GroundSpec{NoKey{}, TransparentFill{}});
    case TreatmentKind::tone:
        return Treatment(ToneSpec{});
    case TreatmentKind::text:
        return Treatment(TextSpec::defaultFor(size));
    case TreatmentKind::stamp:
    case TreatmentKind::frames:
        return std::nullopt;
    }
    return std::nullopt;
}

QString Treatment::summary() const
{
    return std::visit(SummaryOf{}, spec);
}

} // namespace plenoria
