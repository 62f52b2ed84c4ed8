#include "inspectors/controls/SymbolIcon.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// Every pixel that shows anything is `color` at some opacity; returns how many show.
qint64 coveredPixelsAllOf(const QPixmap& pixmap, QColor color)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    qint64 covered = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 0)
                continue;
            ++covered;
            if (pixel.alpha() == 255 && pixel.rgb() != color.rgb())
                return -1;
        }
    }
    return covered;
}

QString sourceText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every symbol name the sources ask for, by the way they ask, each with the files that ask for it:
// the first argument of a symbol helper, a settings tab's symbol, a picker segment's symbol, and
// what a function named for a symbol returns.
QMap<QString, QMap<QString, QStringList>> askedSymbols()
{
    const QString literal = QStringLiteral(R"re(QStringLiteral\(\s*"([^"]+)"\s*\))re");
    const QString anyLiteral = QStringLiteral(R"re(QStringLiteral\(\s*"[^"]*"\s*\))re");
    const QList<std::pair<QString, QRegularExpression>> ways = {
        {QStringLiteral("helper"),
            QRegularExpression(
                R"re((?:SymbolIcon::(?:pixmap|icon)|::symbol|SymbolLabel|setSymbolName)\s*\(\s*)re"
                + literal)},
        {QStringLiteral("tab"),
            QRegularExpression(R"re(\baddTab\s*\(\s*)re" + anyLiteral + R"re(\s*,\s*)re" + literal)},
        {QStringLiteral("segment"),
            QRegularExpression(
                R"re(\{\s*)re" + anyLiteral + R"re(\s*,\s*)re" + literal + R"re(\s*,[^{}]*\})re")},
        {QStringLiteral("function"),
            QRegularExpression(R"re(::\w*[sS]ymbol\w*\([^)]*\)\s*(?:const\s*)?\{(.*?)\n\})re",
                QRegularExpression::DotMatchesEverythingOption)},
    };
    const QRegularExpression returned(literal);
    QMap<QString, QMap<QString, QStringList>> asked;
    QDirIterator it(QStringLiteral(PLENORIA_SOURCE_DIR "/src"),
        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString text = sourceText(path);
        for (const auto& [way, pattern] : ways) {
            if (way == QLatin1String("segment") && !text.contains(QLatin1String("Segment<")))
                continue;
            for (const QRegularExpressionMatch& match : pattern.globalMatch(text)) {
                if (way != QLatin1String("function")) {
                    asked[way][match.captured(1)].append(path);
                    continue;
                }
                for (const QRegularExpressionMatch& inner : returned.globalMatch(match.captured(1)))
                    asked[way][inner.captured(1)].append(path);
            }
        }
    }
    return asked;
}

// Whether the stand-ins painted here know `name`, with no icon theme to be found at all.
bool paintedHere(const QString& name)
{
    const QStringList paths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName(QStringLiteral("no-such-theme"));
    const bool painted = coveredPixelsAllOf(SymbolIcon::pixmap(name, 16, Qt::red), Qt::red) > 0;
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(theme);
    return painted;
}

} // namespace

TEST(SymbolIcon, EveryNameTheSourcesAskForIsInTheAppsThemeOrPaintedHere)
{
    // The theme the app sets, found where a desktop's platform theme looks: offscreen looks nowhere.
    const QRegularExpression setTheme(
        QStringLiteral(R"re(QIcon::setThemeName\(QStringLiteral\("([^"]+)"\)\))re"));
    const QString theme
        = setTheme.match(sourceText(QStringLiteral(PLENORIA_SOURCE_DIR "/src/app/main.cpp"))).captured(1);
    ASSERT_FALSE(theme.isEmpty()) << "main() sets no icon theme";
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QStringList paths;
    const QString dataDirs
        = qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        paths.append(dir + QStringLiteral("/icons"));
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(theme);
    ASSERT_TRUE(SymbolIcon::themeHas(QStringLiteral("document-save")))
        << "no " << theme.toStdString() << " icon theme installed";

    const auto asked = askedSymbols();
    for (const char* way : {"helper", "tab", "segment", "function"})
        EXPECT_FALSE(asked.value(QString::fromLatin1(way)).isEmpty())
            << "no symbol found asked for as a " << way;
    for (const auto& names : asked) {
        for (auto name = names.cbegin(); name != names.cend(); ++name) {
            EXPECT_TRUE(SymbolIcon::themeHas(name.key()) || paintedHere(name.key()))
                << name.key().toStdString() << " in "
                << name.value().join(QStringLiteral(", ")).toStdString();
        }
    }
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(themeName);
}

TEST(SymbolIcon, DrawsTheShapeInTheAskedColourOnly)
{
    for (const char* theme : {"breeze", "no-such-theme"}) {
        QIcon::setThemeName(QString::fromLatin1(theme));
        for (const char* name : {"folder", "edit-find", "list-add"}) {
            const QPixmap pixmap
                = SymbolIcon::pixmap(QString::fromLatin1(name), 16, QColor(0x47, 0x59, 0x3F), 2);
            EXPECT_EQ(pixmap.size(), QSize(32, 32)) << name;
            EXPECT_GT(coveredPixelsAllOf(pixmap, QColor(0x47, 0x59, 0x3F)), 10) << theme << " " << name;
        }
    }
    EXPECT_EQ(
        coveredPixelsAllOf(SymbolIcon::pixmap(QStringLiteral("no-such-symbol"), 16, Qt::red), Qt::red), 0);
}
