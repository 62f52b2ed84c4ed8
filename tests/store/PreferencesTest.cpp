#include "store/Preferences.h"
#include "StoreTestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

const QString defaultsText = QStringLiteral("subfolderNames=||||||||\n"
                                            "zoom=128\n"
                                            "listSide=left\n"
                                            "animateGIFs=true\n"
                                            "splitFraction=0.5\n"
                                            "defaultZoom=128\n"
                                            "previewDarkHex=#211E19\n"
                                            "previewLightHex=#E6E2D2\n"
                                            "theme=system\n"
                                            "previewDarkFirst=true\n"
                                            "backupOnSave=true\n"
                                            "showEditedBadge=true\n");

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

TEST(Preferences, NothingStoredGivesTheDefaultsAndCreationWritesNothing)
{
    TemporarySettings settings;
    {
        const Preferences prefs(settings.settings.get());
        EXPECT_EQ(prefs.subfolderNames().size(), 9);
    }
    settings.settings->sync();
    EXPECT_FALSE(
        QFile::exists(settings.filePath()) && readText(settings.filePath()).contains(QLatin1Char('=')));
    EXPECT_EQ(runChild(QStringLiteral("preferences"), settings.filePath()), defaultsText);
}

TEST(Preferences, EverySettingRoundTripsThroughAFreshProcess)
{
    TemporarySettings settings;
    Preferences prefs(settings.settings.get());
    prefs.setSubfolderNames({QStringLiteral(" Cats "), QString(), QStringLiteral("a, b"),
        QStringLiteral("@Invalid()"), QStringLiteral("\"quoted\""), QStringLiteral("Ünïcode"), QString(),
        QString(), QStringLiteral("last")});
    prefs.setZoom(ZoomLevel::px256);
    prefs.setListSide(ListSide::right);
    prefs.setAnimateGIFs(false);
    prefs.setSplitFraction(0.3);
    prefs.setDefaultZoom(ZoomLevel::px32);
    prefs.setPreviewDarkHex(QStringLiteral("#000000"));
    prefs.setPreviewLightHex(QStringLiteral("not a colour"));
    prefs.setTheme(AppTheme::dark);
    prefs.setPreviewDarkFirst(false);
    prefs.setBackupOnSave(false);
    prefs.setShowEditedBadge(false);

    // No sync or destruction here: every assignment must already be on disk.
    EXPECT_EQ(runChild(QStringLiteral("preferences"), settings.filePath()),
        QStringLiteral("subfolderNames= Cats ||a, b|@Invalid()|\"quoted\"|Ünïcode|||last\n"
                       "zoom=256\n"
                       "listSide=right\n"
                       "animateGIFs=false\n"
                       "splitFraction=0.3\n"
                       "defaultZoom=32\n"
                       "previewDarkHex=#000000\n"
                       "previewLightHex=not a colour\n"
                       "theme=dark\n"
                       "previewDarkFirst=false\n"
                       "backupOnSave=false\n"
                       "showEditedBadge=false\n"));
}

TEST(Preferences, IllTypedOrUnknownValuesReadAsTheDefaults)
{
    TemporarySettings settings;
    writeText(settings.filePath(),
        "[General]\n"
        "subfolderNames=just one string\n"
        "zoomLevel=100\n"
        "defaultZoom=large\n"
        "listSide=Right\n"
        "theme=Dark\n"
        "animateGIFs=NO\n"
        "previewDarkFirst=1\n"
        "backupOnSave=yes\n"
        "showEditedBadge=\n"
        "splitFraction=nan\n"
        "previewDarkHex=\"#111111\", \"#222222\"\n");
    EXPECT_EQ(runChild(QStringLiteral("preferences"), settings.filePath()), defaultsText);

    writeText(settings.filePath(), "[General]\nsplitFraction=wide\nbackupOnSave=false\nzoomLevel=512\n");
    const QString text = runChild(QStringLiteral("preferences"), settings.filePath());
    EXPECT_TRUE(text.contains(QStringLiteral("splitFraction=0.5\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("backupOnSave=false\n")))
        << "a stored false is not a missing value";
    EXPECT_TRUE(text.contains(QStringLiteral("zoom=512\n")));
}

TEST(Preferences, AStoredValueOutsideTheRulesStaysUntilTheSettingIsAssigned)
{
    TemporarySettings settings;
    writeText(settings.filePath(), "[General]\nzoomLevel=100\n");
    Preferences prefs(settings.settings.get());
    EXPECT_EQ(prefs.zoom(), ZoomLevel::px128);
    EXPECT_TRUE(readText(settings.filePath()).contains(QStringLiteral("zoomLevel=100")));

    // Assigning the value it already has still writes it.
    QSignalSpy changed(&prefs, &Preferences::zoomChanged);
    prefs.setZoom(ZoomLevel::px128);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(readText(settings.filePath()).contains(QStringLiteral("zoomLevel=128")));
}

TEST(Preferences, DestinationNamesAreAlwaysNine)
{
    TemporarySettings settings;
    QStringList twelve;
    for (int i = 1; i <= 12; ++i)
        twelve.append(QStringLiteral("d%1").arg(i));
    settings.settings->setValue(QStringLiteral("subfolderNames"), twelve);
    settings.settings->sync();
    EXPECT_TRUE(runChild(QStringLiteral("preferences"), settings.filePath())
                    .startsWith(QStringLiteral("subfolderNames=d1|d2|d3|d4|d5|d6|d7|d8|d9\n")));

    settings.settings->setValue(QStringLiteral("subfolderNames"), QStringList{"a", "b", "c"});
    settings.settings->sync();
    EXPECT_TRUE(runChild(QStringLiteral("preferences"), settings.filePath())
                    .startsWith(QStringLiteral("subfolderNames=a|b|c||||||\n")));

    Preferences prefs(settings.settings.get());
    prefs.setSubfolderNames({QStringLiteral("only")});
    EXPECT_EQ(prefs.subfolderNames().size(), 9);
    prefs.setSubfolderNames(twelve);
    EXPECT_EQ(prefs.subfolderNames(), twelve.mid(0, 9));

    QSignalSpy changed(&prefs, &Preferences::subfolderNamesChanged);
    prefs.setSubfolderName(4, QStringLiteral("Dogs"));
    prefs.setSubfolderName(9, QStringLiteral("ignored"));
    prefs.setSubfolderName(-1, QStringLiteral("ignored"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(runChild(QStringLiteral("preferences"), settings.filePath())
                    .startsWith(QStringLiteral("subfolderNames=d1|d2|d3|d4|Dogs|d6|d7|d8|d9\n")));
}
