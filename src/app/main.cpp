#include "AppResources.h"
#include "PlenoriaApp.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Plenoria"));
    QApplication::setApplicationName(QStringLiteral("Plenoria"));
    QApplication::setDesktopFileName(QStringLiteral("plenoria"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Symbols are drawn as masks in the theme's colours, so the icon theme is fixed, not the desktop's.
    QIcon::setThemeName(QStringLiteral("breeze"));
    plenoria::ensureAppResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/plenoria.svg")));

    plenoria::PlenoriaApp plenoria;
    plenoria.openMainWindow();
    QApplication::exec();
    return 0;
}
