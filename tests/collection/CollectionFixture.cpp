#include "CollectionFixture.h"

#include "GifBuilder.h"
#include "PeerTools.h"
#include "SyntheticImages.h"
#include "store/PathBookmarkStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace plenoria::test {

CollectionFolder::CollectionFolder(bool withWorkingFolder)
    : m_settings(std::make_unique<QSettings>(
        m_settingsDir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat))
{
    FolderStoreServices services;
    services.bookmarks = std::make_shared<PathBookmarkStore>(m_settings.get());
    m_store = std::make_unique<FolderStore>(services);
    if (withWorkingFolder)
        m_store->setWorkingFolder(QUrl::fromLocalFile(m_dir.path()), false);
    m_prefs = std::make_unique<Preferences>(m_settings.get());
}

QString CollectionFolder::path(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

QUrl CollectionFolder::url(const QString& name) const
{
    return QUrl::fromLocalFile(QDir::cleanPath(path(name)));
}

void CollectionFolder::addPng(const QString& name, int width, int height)
{
    ASSERT_TRUE(solidImage(width, height, QColor(200, 80, 40)).save(path(name), "PNG"));
}

void CollectionFolder::addGif(const QString& name, int frames, int delayCentiseconds)
{
    ASSERT_TRUE(writeFileBytes(path(name), makeAnimatedGif(frames, QSize(8, 8), delayCentiseconds)));
}

void CollectionFolder::remove(const QString& name)
{
    ASSERT_TRUE(QFile::remove(path(name)));
}

void CollectionFolder::rename(const QString& from, const QString& to)
{
    ASSERT_TRUE(QFile::rename(path(from), path(to)));
}

ControllerRig::ControllerRig(const QStringList& names)
{
    for (const QString& name : names)
        folder.addPng(name);
    folder.store().reload();
    auto manual = std::make_unique<ManualToastTimer>();
    timer = manual.get();
    controller = std::make_unique<ContentController>(folder.store(), folder.prefs(), std::move(manual));
    controller->layoutAppeared();
}

QStringList ControllerRig::filteredNames() const
{
    QStringList names;
    for (const ImageItem& item : controller->filteredItems())
        names << item.filename;
    return names;
}

std::optional<QString> ControllerRig::selectedName() const
{
    const std::optional<QUrl> selection = controller->selection();
    if (!selection)
        return std::nullopt;
    return selection->fileName();
}

void ControllerRig::select(const QString& name)
{
    controller->setSelection(folder.url(name));
}

ViewRig::ViewRig(const QStringList& names, int width)
{
    for (const QString& name : names)
        folder.addPng(name);
    folder.store().reload();
    auto manual = std::make_unique<ManualToastTimer>();
    timer = manual.get();
    controller = new ContentController(folder.store(), folder.prefs(), std::move(manual));
    view = std::make_unique<ContentView>(controller);
    view->resize(width, 600);
    view->show();
    view->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    settle();
}

void ViewRig::settle()
{
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
}

QWidget* ViewRig::focus() const
{
    return QApplication::focusWidget();
}

} // namespace plenoria::test
