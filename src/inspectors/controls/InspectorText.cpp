#include "inspectors/controls/InspectorText.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

namespace plenoria {

ThemedLabel* InspectorText::note(const QString& text)
{
    auto* label = new ThemedLabel(text, Theme::serifFont(12), &Theme::inkSecondary);
    label->setWordWrap(true);
    return label;
}

ThemedLabel* InspectorText::caption(const QString& text)
{
    auto* label = new ThemedLabel(text, Theme::monospacedFont(11), &Theme::inkFaint);
    label->setWordWrap(true);
    return label;
}

ThemedLabel* InspectorText::label(const QString& text)
{
    return new ThemedLabel(text, Theme::monospacedFont(12), &Theme::inkSecondary);
}

ThemedLabel* InspectorText::value(const QString& text)
{
    return new ThemedLabel(text, Theme::monospacedFont(12), &Theme::ink);
}

} // namespace plenoria
