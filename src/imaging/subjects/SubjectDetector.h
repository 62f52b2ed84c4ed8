#pragma once

#include "imaging/subjects/SubjectDetection.h"

#include <QByteArray>
#include <memory>

namespace plenoria {

// Finds the foreground subjects of an emoji without a learned model. Where the border is largely
// transparent the subjects are the opaque parts; otherwise the background is learned from the border
// colours and flooded away from the border, and what stands apart from it is the foreground. The
// subjects are its 8-connected parts, numbered from the largest.
class SubjectDetector {
public:
    SubjectDetector() = delete;

    // The subjects of convention bytes of width × height; null when there are none (a flat image,
    // nothing above the size floor) or the bytes do not hold the image.
    [[nodiscard]] static std::shared_ptr<const SubjectDetection> detect(
        const QByteArray& bytes, qint64 width, qint64 height);
};

} // namespace plenoria
