#pragma once

#include <QString>

namespace plenoria {

class ThemedLabel;

// The inspectors' text styles, as labels ready to place.
class InspectorText {
public:
    InspectorText() = delete;

    // A note or hint: the serif at 12 in the secondary ink, wrapped to the column.
    static ThemedLabel* note(const QString& text);
    // A caption under a control: monospaced 11 in the faint ink.
    static ThemedLabel* caption(const QString& text);
    // A field's or a line's label: monospaced 12 in the secondary ink.
    static ThemedLabel* label(const QString& text);
    // A value beside its label: monospaced 12 in the ink.
    static ThemedLabel* value(const QString& text);
};

} // namespace plenoria
