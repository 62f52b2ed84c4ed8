#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The order of the code, lowest first: a library may include itself and the libraries before it.
const QStringList libraryOrder
    = {QStringLiteral("imaging"), QStringLiteral("store"), QStringLiteral("inspectors"),
        QStringLiteral("bench"), QStringLiteral("collection"), QStringLiteral("app")};

// Inside a library with folders by concern, each folder may include itself and the folders it names here.
using FolderOrder = QMap<QString, QStringList>;
const QMap<QString, FolderOrder> folderOrders = {
    {QStringLiteral("imaging"),
        {{QStringLiteral("model"), {}}, {QStringLiteral("read"), {QStringLiteral("model")}},
            {QStringLiteral("gif"), {QStringLiteral("model"), QStringLiteral("read")}},
            {QStringLiteral("write"),
                {QStringLiteral("model"), QStringLiteral("read"), QStringLiteral("gif")}},
            {QStringLiteral("subjects"), {QStringLiteral("model")}},
            {QStringLiteral("render"),
                {QStringLiteral("model"), QStringLiteral("read"), QStringLiteral("gif"),
                    QStringLiteral("write"), QStringLiteral("subjects")}}}},
    {QStringLiteral("bench"),
        {{QStringLiteral("model"), {}}, {QStringLiteral("canvas"), {QStringLiteral("model")}},
            {QStringLiteral("record"), {QStringLiteral("model")}},
            {QStringLiteral("inspect"), {QStringLiteral("model")}},
            {QStringLiteral("frames"), {QStringLiteral("model")}},
            {QStringLiteral("sheets"), {QStringLiteral("model")}},
            {QStringLiteral("view"),
                {QStringLiteral("model"), QStringLiteral("canvas"), QStringLiteral("record"),
                    QStringLiteral("inspect"), QStringLiteral("frames"), QStringLiteral("sheets")}}}},
    {QStringLiteral("collection"),
        {{QStringLiteral("chrome"), {}}, {QStringLiteral("list"), {QStringLiteral("chrome")}},
            {QStringLiteral("controller"), {QStringLiteral("chrome"), QStringLiteral("list")}},
            {QStringLiteral("preview"),
                {QStringLiteral("chrome"), QStringLiteral("list"), QStringLiteral("controller")}},
            {QStringLiteral("window"),
                {QStringLiteral("chrome"), QStringLiteral("list"), QStringLiteral("controller"),
                    QStringLiteral("preview")}}}},
    // The controls every widget library shares sit at the bottom, each kind of inspector on them alone.
    {QStringLiteral("inspectors"),
        {{QStringLiteral("controls"), {}}, {QStringLiteral("ground"), {QStringLiteral("controls")}},
            {QStringLiteral("tone"), {QStringLiteral("controls")}},
            {QStringLiteral("text"), {QStringLiteral("controls")}},
            {QStringLiteral("stamp"), {QStringLiteral("controls")}},
            {QStringLiteral("frames"), {QStringLiteral("controls")}}}},
};

// Where a file of ours sits: its library and, in a library with folders, its folder.
struct Place {
    QString library;
    QString folder;
};

QString sourceRoot()
{
    return QStringLiteral(PLENORIA_SOURCE_DIR "/src/");
}

Place placeOf(const QString& path)
{
    const QStringList parts = path.mid(sourceRoot().size()).split(QLatin1Char('/'));
    return {parts.value(0), parts.size() > 2 ? parts.value(1) : QString()};
}

// One include line: the name between the quotes or the angle brackets, and which of the two.
struct Include {
    QString name;
    bool quoted = false;
};

QList<Include> includesOf(const QString& path)
{
    static const QRegularExpression include(
        QStringLiteral(R"re(^\s*#\s*include\s*([<"])([^>"]+)[>"])re"), QRegularExpression::MultilineOption);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Include> includes;
    auto matches = include.globalMatch(QString::fromUtf8(file.readAll()));
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        includes.append({match.captured(2), match.captured(1) == QLatin1String("\"")});
    }
    return includes;
}

QStringList sourcesUnder(const QString& folder)
{
    QStringList paths;
    QDirIterator it(
        folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    return paths;
}

// Why `from` may not include `to`, or empty when it may.
QString breach(const Place& from, const Place& to)
{
    const qsizetype fromRank = libraryOrder.indexOf(from.library);
    const qsizetype toRank = libraryOrder.indexOf(to.library);
    if (fromRank < 0 || toRank < 0)
        return QStringLiteral("a library the order does not name");
    if (toRank > fromRank)
        return QStringLiteral("%1 is above %2").arg(to.library, from.library);
    if (toRank < fromRank || !folderOrders.contains(from.library))
        return {};
    const FolderOrder& order = folderOrders[from.library];
    if (!order.contains(from.folder) || !order.contains(to.folder))
        return QStringLiteral("a folder the order of %1 does not name").arg(from.library);
    if (from.folder != to.folder && !order[from.folder].contains(to.folder))
        return QStringLiteral("%1 may not use %2").arg(from.folder, to.folder);
    return {};
}

// Whether `include` in the file at `path` reaches a file of ours other than from src/: beside the
// including file, or from a library's own folder as includes were once written.
bool reachesOursAnotherWay(const QString& path, const Include& include)
{
    if (include.quoted && QFileInfo::exists(QFileInfo(path).absolutePath() + QLatin1Char('/') + include.name))
        return true;
    for (const QString& library : libraryOrder) {
        if (QFileInfo::exists(sourceRoot() + library + QLatin1Char('/') + include.name))
            return true;
    }
    return false;
}

// Every include of a file of ours, quoted or angle-bracketed, that runs against the order or is not
// written from src/ (the one way includes are written, so that each names its library), as
// "file: include (why)".
QStringList includesAgainstTheOrder()
{
    QStringList offenders;
    for (const QString& path : sourcesUnder(sourceRoot())) {
        const Place from = placeOf(path);
        for (const Include& include : includesOf(path)) {
            const QString where = path + QStringLiteral(": ")
                + (include.quoted ? QLatin1Char('"') + include.name + QLatin1Char('"')
                                  : QLatin1Char('<') + include.name + QLatin1Char('>'));
            const QString library = include.name.section(QLatin1Char('/'), 0, 0);
            const QString target = sourceRoot() + include.name;
            if (include.name.contains(QLatin1Char('/')) && libraryOrder.contains(library)) {
                if (!QFileInfo::exists(target))
                    offenders << where + QStringLiteral(" (names no file of ours)");
                else if (const QString why = breach(from, placeOf(target)); !why.isEmpty())
                    offenders << where + QStringLiteral(" (") + why + QLatin1Char(')');
            } else if (reachesOursAnotherWay(path, include)) {
                offenders << where + QStringLiteral(" (not written from src/)");
            }
        }
    }
    return offenders;
}

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
    static const QRegularExpression include(
        QStringLiteral(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])"), QRegularExpression::MultilineOption);
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

TEST(Layering, EveryIncludeFollowsTheOrderOfTheLibrariesAndTheirFolders)
{
    const QStringList offenders = includesAgainstTheOrder();
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(QLatin1Char('\n')).toStdString();

    // A unit outside the named folders would escape the order unseen.
    for (auto library = folderOrders.cbegin(); library != folderOrders.cend(); ++library) {
        for (const QString& path : sourcesUnder(sourceRoot() + library.key())) {
            const Place place = placeOf(path);
            EXPECT_TRUE(library.value().contains(place.folder))
                << path.toStdString() << " is in no named folder";
        }
    }
}

TEST(Threads, NothingOfOursIsHandedToQtsGlobalPool)
{
    // Qt Gui's image work on the main thread waits on Qt's global pool: work of ours queued there
    // stalls the window. Every QtConcurrent call names one of our pools as its first argument.
    static const QRegularExpression concurrent(QStringLiteral(R"(QtConcurrent::(\w+)\s*\(\s*([^,()]*))"));
    QStringList offenders;
    for (const QString& path : sourcesUnder(sourceRoot())) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        if (text.contains(QLatin1String("globalInstance")))
            offenders << path + QStringLiteral(": globalInstance");
        auto calls = concurrent.globalMatch(text);
        while (calls.hasNext()) {
            const QRegularExpressionMatch call = calls.next();
            if (!call.captured(2).contains(QLatin1String("pool"), Qt::CaseInsensitive))
                offenders << path + QStringLiteral(": QtConcurrent::") + call.captured(1)
                        + QStringLiteral(" without a pool");
        }
    }
    EXPECT_TRUE(offenders.isEmpty()) << offenders.join(QLatin1Char('\n')).toStdString();
}
