#include "app/AppStyle.h"

#include <QStyleFactory>

namespace plenoria {

AppStyle::AppStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{ }

int AppStyle::styleHint(
    StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const
{
    if (hint == SH_ToolTipLabel_Opacity)
        return 255;
    // A menu-style popup ignores the visible-row limit, so the font list, which holds every installed
    // family, would open as tall as the screen; a list popup scrolls within its rows.
    if (hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

} // namespace plenoria
