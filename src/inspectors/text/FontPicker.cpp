#include "inspectors/text/FontPicker.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"
#include "inspectors/text/FontMenuBox.h"

#include <QVBoxLayout>

namespace plenoria {

FontPicker::FontPicker(Binding<QString> selection, FontUsage usage, QWidget* parent)
    : QWidget(parent)
    , m_selection(std::move(selection))
    , m_usage(usage)
    , m_box(new FontMenuBox(std::move(usage)))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(
        new ThemedLabel(QStringLiteral("Font"), Theme::monospacedFont(12), &Theme::inkSecondary));
    layout->addWidget(m_box);
    m_box->setAccessibleName(QStringLiteral("Font"));
    connect(m_box, &FontMenuBox::familyPicked, this, &FontPicker::choose);
    refresh();
}

void FontPicker::setBinding(Binding<QString> selection)
{
    m_selection = std::move(selection);
    refresh();
}

void FontPicker::refresh()
{
    const QString family = m_selection.get();
    if (m_seen && *m_seen != family)
        m_usage.recordUse(family);
    m_seen = family;
    m_box->setShownFamily(family);
}

void FontPicker::choose(const QString& family)
{
    m_selection.set(family);
    refresh();
}

} // namespace plenoria
