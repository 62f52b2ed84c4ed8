#include "BenchTestSupport.h"

#include "ApngBuilder.h"
#include "GifBuilder.h"
#include "SyntheticImages.h"

namespace plenoria::test {

RestorationSession sessionOver(const QByteArray& data, const QString& name)
{
    RestorationSession session;
    session.fileURL = QUrl::fromLocalFile(QStringLiteral("/collection/") + name);
    session.originalData = data;
    return session;
}

std::unique_ptr<BenchModel> benchOver(const QByteArray& data, const QString& name)
{
    return std::make_unique<BenchModel>(sessionOver(data, name), true);
}

QByteArray gradientPng(int width, int height)
{
    return encodePng(gradientImage(width, height, QColor(20, 60, 140), QColor(220, 180, 40)));
}

QByteArray colourFramesGif(int count)
{
    return makeAnimatedGif(count, QSize(8, 8), 10);
}

QByteArray solidPng(int width, int height, QColor color)
{
    return encodePng(solidImage(width, height, color));
}

ScratchPreferences::ScratchPreferences()
    : m_settings(m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
    , m_prefs(std::make_unique<Preferences>(&m_settings))
{ }

ToneSpec brighter()
{
    ToneSpec tone;
    tone.brightness = 0.5;
    return tone;
}

FramesSpec framesShowing(const std::vector<qint64>& inputs, qint64 delay)
{
    FramesSpec spec;
    for (const qint64 input : inputs)
        spec.edits.push_back({input, delay, false});
    return spec;
}

size_t sourceFrameCount(const BenchModel& model)
{
    return model.sourceStrip() ? model.sourceStrip()->frames.size() : 0;
}

const TreatmentEntry& row(const BenchModel& model, qint64 index)
{
    return model.record().at(size_t(index));
}

} // namespace plenoria::test
