#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Plenoria"));
    QApplication::setApplicationName(QStringLiteral("Plenoria"));
    return 0;
}
