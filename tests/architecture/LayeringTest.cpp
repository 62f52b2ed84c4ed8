#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Every header name Qt Widgets ships, so that <QLabel> is caught as surely as <QtWidgets/QLabel>.
QSet<QString> widgetHeaderNames()
{
    QSet<QString> names;
    QDirIterator it(QStringLiteral(QT_WIDGETS_INCLUDE_DIR), QDir::Files);
    while (it.hasNext()) {
        it.next();
        names.insert(it.fileName());
    }
    return names;
}

QStringList widgetIncludesUnder(const QString& folder, const QSet<QString>& widgetHeaders)
{
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"),
                                            QRegularExpression::MultilineOption);
    QStringList offenders;
    QDirIterator it(QStringLiteral(PLENORIA_SOURCE_DIR) + QLatin1Char('/') + folder, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        auto matches = include.globalMatch(text);
        while (matches.hasNext()) {
            const QString header = matches.next().captured(1);
            const QString base = header.section(QLatin1Char('/'), -1);
            if (header.startsWith(QLatin1String("QtWidgets")) || widgetHeaders.contains(base))
                offenders << path + QStringLiteral(": ") + header;
        }
    }
    return offenders;
}

} // namespace

TEST(Layering, ImagingAndStoreIncludeNoWidgetsHeader)
{
    const QSet<QString> widgetHeaders = widgetHeaderNames();
    ASSERT_TRUE(widgetHeaders.contains(QStringLiteral("QWidget"))) << "Qt Widgets headers not found";
    for (const QString& folder : {QStringLiteral("src/imaging"), QStringLiteral("src/store")}) {
        const QStringList offenders = widgetIncludesUnder(folder, widgetHeaders);
        EXPECT_TRUE(offenders.isEmpty()) << offenders.join(QLatin1Char('\n')).toStdString();
    }
}
