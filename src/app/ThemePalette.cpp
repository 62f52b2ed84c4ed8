#include "app/ThemePalette.h"

#include "imaging/model/Theme.h"

namespace plenoria {

namespace {

// A translucent role laid over a ground, as Fusion's bevels need opaque colours.
QColor over(const QColor& ground, const QColor& overlay)
{
    const float alpha = overlay.alphaF();
    return QColor::fromRgbF(ground.redF() * (1 - alpha) + overlay.redF() * alpha,
        ground.greenF() * (1 - alpha) + overlay.greenF() * alpha,
        ground.blueF() * (1 - alpha) + overlay.blueF() * alpha);
}

} // namespace

QPalette themePalette()
{
    const bool dark = Theme::appearance() == Appearance::dark;
    const QColor ground = Theme::windowBackground();
    const QColor raised = Theme::raised();
    const QColor rule = over(ground, Theme::rule());
    const QColor hairline = over(ground, Theme::hairline());

    QPalette palette;
    palette.setColor(QPalette::Window, ground);
    palette.setColor(QPalette::WindowText, Theme::ink());
    // Text fields stand out a little from the ground they sit on; views set their own ground.
    palette.setColor(QPalette::Base, raised);
    palette.setColor(QPalette::AlternateBase, Theme::surface());
    palette.setColor(QPalette::Text, Theme::ink());
    palette.setColor(QPalette::PlaceholderText, Theme::inkFaint());
    palette.setColor(QPalette::Button, raised);
    palette.setColor(QPalette::ButtonText, Theme::ink());
    palette.setColor(QPalette::BrightText, Theme::fixedPaper());
    palette.setColor(QPalette::Highlight, Theme::moss());
    palette.setColor(QPalette::HighlightedText, QColor(Qt::white));
    palette.setColor(QPalette::Link, Theme::moss());
    palette.setColor(QPalette::LinkVisited, Theme::moss());
    palette.setColor(QPalette::ToolTipBase, raised);
    palette.setColor(QPalette::ToolTipText, Theme::ink());
    // Fusion draws frames and bevels from these.
    palette.setColor(QPalette::Light, dark ? raised.lighter(115) : QColor(Qt::white));
    palette.setColor(QPalette::Midlight, over(raised, Theme::hairline()));
    palette.setColor(QPalette::Mid, hairline);
    palette.setColor(QPalette::Dark, rule);
    palette.setColor(QPalette::Shadow, dark ? QColor(0, 0, 0) : rule.darker(130));

    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, Theme::inkFaint());
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, over(ground, Theme::rule()));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, Theme::moss());
    return palette;
}

} // namespace plenoria
