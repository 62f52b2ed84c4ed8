#pragma once

namespace plenoria {

// Where the two panes and the handle of a horizontal split go, in points. When the split is too
// narrow for both minimums the panes keep them and the content overflows the split.
struct SplitGeometry {
    static constexpr double handleWidth = 8;

    double available = 0; // the width shared by the two panes
    double leftWidth = 0;
    double rightWidth = 0;

    static SplitGeometry layout(double width, double fraction, double minLeftWidth, double minRightWidth);
    // The left pane's share after the pointer pressed or dragged to `pointerX` (split coordinates).
    double fractionForPointer(double pointerX, double minLeftWidth, double minRightWidth) const;
};

} // namespace plenoria
