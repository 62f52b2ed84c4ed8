#include <QGuiApplication>
#include <gtest/gtest.h>

// Imaging and store tests need fonts and image plugins but no widgets.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("PlenoriaTests"));
    QGuiApplication::setApplicationName(QStringLiteral("PlenoriaTests"));
    return RUN_ALL_TESTS();
}
