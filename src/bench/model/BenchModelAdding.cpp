#include "bench/model/BenchModel.h"

#include "imaging/read/ImageSource.h"
#include "imaging/read/RegularFile.h"
#include "imaging/render/Renderer.h"

#include <QFileInfo>

namespace plenoria {

namespace {

// A new stamp sits in the middle at half the image's width, but never narrower than 8 px.
StampSpec newStamp(const BenchModel::PickedStamp& picked, QSizeF size)
{
    StampSpec spec;
    spec.imageData = picked.imageData;
    spec.name = picked.name;
    spec.center = QPointF(size.width() * 0.5, size.height() * 0.5);
    spec.width = size.width() * 0.5 > 8 ? size.width() * 0.5 : 8;
    spec.rotation = 0;
    spec.opacity = 1;
    return spec;
}

} // namespace

void BenchModel::appendEntry(const Treatment& treatment)
{
    transact([&] {
        TreatmentRecord record = m_session.record;
        record.emplace_back(treatment);
        const QUuid id = record.back().id;
        setRecord(std::move(record));
        setSelection(id);
    });
}

void BenchModel::addTreatment(TreatmentKind kind)
{
    // Fitted to what the whole record makes, whichever row is selected.
    const QSizeF size = inputSize(m_session.record);
    switch (kind) {
    case TreatmentKind::stamp:
        if (const std::optional<PickedStamp> picked = pickStamp())
            appendEntry(newStamp(*picked, size));
        return;
    case TreatmentKind::frames:
        appendEntry(FramesSpec::fromDelays(framesDefaultDelays()));
        return;
    default:
        if (const std::optional<Treatment> treatment = Treatment::defaultFor(kind, size))
            appendEntry(*treatment);
        return;
    }
}

QString BenchModel::stampPickerMessage() const
{
    return QStringLiteral("Pick an image to stamp onto ") + fileName() + QStringLiteral(".");
}

std::optional<BenchModel::PickedStamp> BenchModel::pickStamp()
{
    if (!m_stampChooser)
        return std::nullopt;
    const std::optional<QString> path = m_stampChooser(stampPickerMessage());
    if (!path)
        return std::nullopt;
    // The preview's rule: a pipe, a device or a huge file is no stamp, and is never read.
    const RegularFile::Contents read = RegularFile::readWhole(*path);
    if (!read.ok())
        return std::nullopt;
    const QByteArray& bytes = read.bytes;
    std::optional<QByteArray> prepared = Renderer::preparedStamp(bytes, stampLongestEdge);
    if (!prepared)
        return std::nullopt;
    if (const std::optional<ImageSource> source = ImageSource::fromData(bytes);
        source && source->frameCount() >= 2)
        emit noticePosted(QStringLiteral("Only the first frame is used for a stamp."));
    return PickedStamp{std::move(*prepared), QFileInfo(*path).fileName()};
}

std::vector<qint64> BenchModel::framesDefaultDelays() const
{
    std::vector<qint64> delays;
    if (!m_sourceStrip)
        return delays;
    for (const FramePlan& entry : Renderer::framePlan(m_session.record, m_sourceStrip->delays))
        delays.push_back(entry.delay);
    return delays;
}

} // namespace plenoria
