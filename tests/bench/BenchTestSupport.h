#pragma once

#include "bench/model/BenchModel.h"
#include "store/Preferences.h"

#include <QByteArray>
#include <QImage>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace plenoria::test {

// A session over `data` for a file named `name` (it need not exist).
RestorationSession sessionOver(const QByteArray& data, const QString& name = QStringLiteral("cat.png"));

// A bench over `data`, its backup choice on.
std::unique_ptr<BenchModel> benchOver(
    const QByteArray& data, const QString& name = QStringLiteral("cat.png"));

// A PNG of a horizontal gradient, width × height.
QByteArray gradientPng(int width, int height);

// A GIF of `count` frames of 8 × 8, each a different solid colour, 100 ms each.
QByteArray colourFramesGif(int count);

// A tone that visibly brightens.
ToneSpec brighter();

// A frames spec with one edit per input position listed, in that order, each `delay` long.
FramesSpec framesShowing(const std::vector<qint64>& inputs, qint64 delay = 100);

// A PNG of one colour, width × height.
QByteArray solidPng(int width, int height, QColor color);

// Preferences over settings of their own in a temporary folder.
class ScratchPreferences {
public:
    ScratchPreferences();
    Preferences& prefs() { return *m_prefs; }

private:
    QTemporaryDir m_dir;
    QSettings m_settings;
    std::unique_ptr<Preferences> m_prefs;
};

// The number of frames the bench decoded from its file; 0 when it decoded none.
size_t sourceFrameCount(const BenchModel& model);

// Row `index` of the model's record.
const TreatmentEntry& row(const BenchModel& model, qint64 index);

} // namespace plenoria::test
