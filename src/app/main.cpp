#include "app/AppResources.h"
#include "app/AppStyle.h"
#include "app/PlenoriaApp.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Plenoria"));
    QApplication::setApplicationName(QStringLiteral("Plenoria"));
    QApplication::setDesktopFileName(QStringLiteral("plenoria"));
    QApplication::setStyle(new plenoria::AppStyle);
    // A fading tooltip blends through window opacity or a grab of the screen, neither of which a
    // desktop without a compositor draws faithfully; tooltips simply appear.
    QApplication::setEffectEnabled(Qt::UI_FadeTooltip, false);
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
    // Symbols are drawn as masks in the theme's colours, so the icon theme is fixed, not the desktop's.
    QIcon::setThemeName(QStringLiteral("breeze"));
    plenoria::ensureAppResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/plenoria.svg")));

    plenoria::PlenoriaApp plenoria;
    plenoria.openMainWindow();
    QApplication::exec();
    return 0;
}
