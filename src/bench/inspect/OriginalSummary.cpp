#include "bench/inspect/OriginalSummary.h"

#include "imaging/read/ImageSource.h"

#include <QFileInfo>

namespace plenoria {

const QString OriginalSummary::selectHint = QStringLiteral(
    "Select a treatment to edit it, or add one below. The canvas shows the original while this row is "
    "selected.");
const QString OriginalSummary::animatedHint = QStringLiteral(
    "This is animated. Treatments apply to every frame and Save keeps the animation; the canvas shows "
    "the first frame while you work.");

QString OriginalSummary::sizeText() const
{
    return QString::number(kilobytes) + QStringLiteral(" KB");
}

OriginalSummary OriginalSummary::of(const RestorationSession& session)
{
    OriginalSummary summary;
    summary.type = QFileInfo(session.fileURL.path()).suffix().toUpper();
    summary.kilobytes = std::max<qint64>(session.originalData.size(), 1024) / 1024;
    const std::optional<ImageSource> source = ImageSource::fromData(session.originalData);
    summary.animated = source && source->frameCount() >= 2;
    return summary;
}

} // namespace plenoria
