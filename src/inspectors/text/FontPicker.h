#pragma once

#include "inspectors/controls/Binding.h"
#include "inspectors/text/FontUsage.h"

#include <QWidget>
#include <optional>

namespace plenoria {

class FontMenuBox;

// The text inspector's font chooser: the caption "Font" over the pop-up of families. Every change
// of the bound family while the picker is on screen counts as one use of the new family (a pick, or
// another text row selected); the family it shows when first built does not.
class FontPicker : public QWidget {
    Q_OBJECT
public:
    FontPicker(Binding<QString> selection, FontUsage usage, QWidget* parent = nullptr);

    FontMenuBox* box() const { return m_box; }

    void setBinding(Binding<QString> selection);
    // Shows the bound family afresh, counting it when it changed since the last look.
    void refresh();
    // What picking a row does: writes the family, then looks again.
    void choose(const QString& family);

private:
    Binding<QString> m_selection;
    FontUsage m_usage;
    FontMenuBox* m_box;
    std::optional<QString> m_seen;
};

} // namespace plenoria
