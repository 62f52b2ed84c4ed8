#pragma once

#include <QtGlobal>
#include <memory>
#include <set>

namespace plenoria {

// The detector's own result for one image (its masks, in whatever form it keeps them); only the
// subject detection knows its layout.
class SubjectDetection;

// What subject detection found in one image: foreground instances numbered 1…n, and the detector's
// result from which Renderer::subjectPixels draws the image of a chosen set of them.
struct ForegroundInstances {
    std::set<qint64> allInstances;
    std::shared_ptr<const SubjectDetection> detection;
};

} // namespace plenoria
