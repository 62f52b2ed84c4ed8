#pragma once

#include "ChildProcess.h"
#include "store/BookmarkStore.h"
#include "store/FileSystem.h"
#include "store/FolderChooser.h"
#include "store/FolderStore.h"
#include "store/RevealService.h"

#include <QByteArray>
#include <QColor>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Readable failures for Qt values.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QUrl& url, std::ostream* out)
{
    *out << url.toString().toStdString();
}

namespace plenoria::test {

// Small PNG bytes of one colour; different colours give different bytes.
QByteArray pngBytes(QColor color, int side = 4);

// A temporary folder with helpers for files inside it. Paths are relative to the folder.
class Folder {
public:
    Folder();
    QString path() const { return m_dir.path(); }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    QUrl url() const;
    QUrl url(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const; // makes parent folders
    void makeFolder(const QString& relative) const;
    QByteArray read(const QString& relative) const; // empty when missing
    // A backup of the image `name` holding `backup`, whose record says it belongs to a file holding `image`.
    void writeBackup(const QString& name, const QByteArray& backup, const QByteArray& image) const;
    bool exists(const QString& relative) const;
    // Every entry below the folder, hidden ones too, sorted: "Cats/" for a folder, "Cats/a.png 1234 <md5>"
    // for a file, "b.png -> <target>" for a link, "p.png special" for a pipe or a device.
    QStringList snapshot() const;

private:
    QTemporaryDir m_dir;
};

// Settings in a temporary INI file that no other test shares.
struct TemporarySettings {
    TemporarySettings();
    QString filePath() const;
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
};

// A bookmark store whose stored data, resolution and creation a test chooses.
class FakeBookmarks final : public BookmarkStore {
public:
    std::optional<QByteArray> stored;
    bool resolvesStale = false;
    QString resolveError; // non-empty: resolution fails with it
    QString createError; // non-empty: creation fails with it
    bool grantAccess = true;
    std::vector<QString> events; // "store", "remove", "start <path>", "stop <path>"

    std::optional<QByteArray> storedBookmark() const override { return stored; }
    void storeBookmark(const QByteArray& data) override;
    void removeStoredBookmark() override;
    BookmarkResolution resolve(const QByteArray& data) const override;
    BookmarkCreation create(const QUrl& folder) const override;
    bool startAccess(const QUrl& folder) override;
    void stopAccess(const QUrl& folder) override;
};

class FakeChooser final : public FolderChooser {
public:
    std::optional<QUrl> answer;
    std::vector<FolderChooserRequest> requests;
    std::optional<QUrl> chooseFolder(const FolderChooserRequest& request) override;
};

class FakeReveal final : public RevealService {
public:
    std::vector<QUrl> revealed;
    void reveal(const QUrl& url, FailureHandler) override { revealed.push_back(url); }
};

// The real file system, except for the calls a test makes fail with a chosen errno.
class FaultyFileSystem : public FileSystem {
public:
    enum class Call {
        renameNoReplace,
        renameReplacing,
        link,
        unlink,
        makeDirectory,
        open,
        read,
        write,
        fsync,
        close,
        lstat,
        stat
    };

    // The (skip + 1)-th call of that kind from now fails with `error`, and so does every later one
    // when `always`; only calls on a path containing `pathPart`, when given (for a call on a
    // descriptor, the path it was opened at).
    void fail(Call call, int error, int skip = 0, bool always = false, const QString& pathPart = {});
    // The call numbered `number` (from 0) of any kind from now fails with `error`.
    void failCall(qint64 number, int error);
    qint64 calls(Call call) const;
    qint64 totalCalls() const { return m_total; }
    // Runs before every call, while the files are as a kill at that call would leave them.
    std::function<void()> beforeEachCall;

    SysResult renameNoReplace(const QByteArray& from, const QByteArray& to) override;
    SysResult renameReplacing(const QByteArray& from, const QByteArray& to) override;
    SysResult link(const QByteArray& from, const QByteArray& to) override;
    SysResult unlink(const QByteArray& path) override;
    SysResult makeDirectory(const QByteArray& path) override;
    SysResult open(const QByteArray& path, int flags, mode_t mode) override;
    SysResult read(int fd, char* buffer, qint64 size) override;
    SysResult write(int fd, const char* buffer, qint64 size) override;
    SysResult fsync(int fd) override;
    SysResult close(int fd) override;
    StatResult lstat(const QByteArray& path) override;
    StatResult stat(const QByteArray& path) override;

private:
    struct Rule {
        Call call;
        int error;
        int skip;
        bool always;
        QString pathPart;
    };
    int injected(Call call, const QByteArray& path);
    std::vector<Rule> m_rules;
    QMap<Call, qint64> m_calls;
    qint64 m_total = 0;
    qint64 m_failingCall = -1;
    int m_failingError = 0;
    QHash<int, QByteArray> m_opened; // the path each open descriptor was opened at, for the rules
};

// Lets a test act as another program would at the moment a file is put in place without replacing.
class RacingFileSystem : public FaultyFileSystem {
public:
    std::function<void(const QByteArray& to)> beforePlacing;
    SysResult renameNoReplace(const QByteArray& from, const QByteArray& to) override
    {
        if (beforePlacing)
            beforePlacing(to);
        return FaultyFileSystem::renameNoReplace(from, to);
    }
};

// A case-insensitive volume over the real one: a name reaches an entry of its folder that differs
// only in letter case. Its calls can be made to fail, or stopped, as FaultyFileSystem's.
class CaseInsensitiveFileSystem : public FaultyFileSystem {
public:
    SysResult renameNoReplace(const QByteArray& from, const QByteArray& to) override;
    SysResult renameReplacing(const QByteArray& from, const QByteArray& to) override;
    SysResult link(const QByteArray& from, const QByteArray& to) override;
    SysResult unlink(const QByteArray& path) override;
    SysResult makeDirectory(const QByteArray& path) override;
    StatResult lstat(const QByteArray& path) override;
    StatResult stat(const QByteArray& path) override;
    SysResult open(const QByteArray& path, int flags, mode_t mode) override;

private:
    static QByteArray resolved(const QByteArray& path);
};

// A store over a fake bookmark store that remembers `folder` (when given), with fakes for the rest.
struct StoreRig {
    explicit StoreRig(const std::optional<QUrl>& folder, std::shared_ptr<FileSystem> fileSystem = {});
    std::shared_ptr<FakeBookmarks> bookmarks = std::make_shared<FakeBookmarks>();
    std::shared_ptr<FakeChooser> chooser = std::make_shared<FakeChooser>();
    std::shared_ptr<FakeReveal> reveal = std::make_shared<FakeReveal>();
    std::unique_ptr<FolderStore> store;

    // The listed item with that file name; fails the test when there is none.
    ImageItem item(const QString& filename) const;
    QStringList filenames() const; // of the listed items, sorted
};

// Collects the warnings written while it lives, instead of printing them.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    QStringList lines() const;
};

} // namespace plenoria::test
