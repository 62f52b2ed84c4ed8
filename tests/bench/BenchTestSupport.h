#pragma once

#include "BenchModel.h"

#include <QByteArray>
#include <QImage>
#include <QString>
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

// Row `index` of the model's record.
const TreatmentEntry& row(const BenchModel& model, qint64 index);

} // namespace plenoria::test
