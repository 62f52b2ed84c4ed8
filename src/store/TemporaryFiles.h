#pragma once

#include "store/FileSystem.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace plenoria {

// The hidden files the store writes before putting content in place (.plenoria-<hex>.tmp), and the
// sweep that removes the ones a killed process left behind. Paths are absolute local paths.
class TemporaryFiles {
public:
    // A temporary file not touched for this long belongs to no save still running.
    static constexpr qint64 staleAfterSeconds = 60 * 60;

    explicit TemporaryFiles(FileSystem& fileSystem)
        : m_fileSystem(fileSystem)
    { }

    // A fresh temporary name in `folder`; hidden, so that a scan never lists a half-made file.
    static QString newPathIn(const QString& folder);
    // Whether a file name is one that newPathIn gives.
    static bool isTemporaryName(const QString& name);
    // A fresh folder name in `folder` (.plenoria-case-<hex>) to hold a file, under its own name, while
    // it goes to another spelling of that name: hidden, never swept, and emptied by the next scan
    // should the rename stop halfway.
    static QString newRenamingPathIn(const QString& folder);
    // Whether a name is one that newRenamingPathIn gives.
    static bool isRenamingName(const QString& name);
    // The name a file had before it took a name .plenoria-case-<hex>-<name>, which is how earlier
    // versions held a file during such a rename; empty for any other name.
    static QString renamedFrom(const QString& name);
    // Whether a name is one that an interrupted case-only rename leaves: isRenamingName's or renamedFrom's.
    static bool isInterruptedRename(const QString& name)
    {
        return isRenamingName(name) || !renamedFrom(name).isEmpty();
    }
    // Whether a name is one the store gives its own files for a while: the user may not take it.
    static bool isStoreName(const QString& name)
    {
        return isTemporaryName(name) || isInterruptedRename(name);
    }

    // Removes stale temporary files (regular files only) directly in `workingFolder` and anywhere
    // under its .plenoria folder (unless that is a link); nothing else is touched, and a file that
    // cannot be removed stays. Gives the names of isInterruptedRename's kind it passed directly in
    // `workingFolder`, which it leaves for the scan.
    QStringList removeStale(const QString& workingFolder, qint64 nowSecondsSinceEpoch);
    // The same, directly in one folder only.
    QStringList removeStaleIn(const QString& folder, qint64 nowSecondsSinceEpoch);
    // The names of isInterruptedRename's kind directly in `folder`.
    static QStringList interruptedRenamesIn(const QString& folder);

private:
    // The names directly in `folder` that begin as the store's own do (".plenoria-"). A folder can
    // hold thousands of images and is read on every scan: its names are taken as the directory gives
    // them, with no per-entry work but a prefix test.
    static QStringList storeNamesIn(const QString& folder);
    void removeIfStale(const QString& path, qint64 cutoff);

    FileSystem& m_fileSystem;
};

} // namespace plenoria
