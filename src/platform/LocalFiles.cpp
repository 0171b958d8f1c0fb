#include "platform/LocalFiles.h"

#include "platform/FileDescriptor.h"
#include "text/NameOrder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarl {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

bool Fail(QString* error, const QString& what, int err) {
    if (error)
        *error = what + QStringLiteral(": ") + qt_error_string(err);
    return false;
}

QString Quoted(const QString& path) {
    return '"' + path + '"';
}

QByteArray FolderOf(const QString& path) {
    return Native(QFileInfo(path).absolutePath());
}

// Makes a rename or a new directory entry survive a crash.
void SyncFolder(const QByteArray& folder) {
    Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

// Renames without ever replacing `to`; 0 or errno (EEXIST when `to` is taken, EXDEV across file
// systems).
int RenameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    // NFS, CIFS and some FUSE file systems lack the flag; a hard link also refuses a taken name.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS && errno != EMLINK)
        return errno;
    // No hard links either (FAT): look, then rename; only a program racing us can slip between.
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

int WriteAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        data += written;
        size -= written;
    }
    return 0;
}

int CopyContents(int from, int to, const std::function<void()>& step) {
    constexpr qint64 chunk = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[chunk]);
    for (;;) {
        const ssize_t got = ::read(from, buffer.get(), chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (const int err = WriteAll(to, buffer.get(), got))
            return err;
        if (step)
            step();
    }
}

// Copies the file `from` to the new name `to`: the data goes to a hidden temporary file beside
// `to`, is synced, and only then takes the name, so `to` never appears half written and no file
// already called `to` is replaced. 0 or errno; on failure nothing is left behind.
int CopyIntoPlace(const QString& from, const QString& to, const std::function<void()>& step) {
    const QByteArray target = Native(to);
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0)
        return EEXIST;

    Fd source(::open(Native(from).constData(), O_RDONLY | O_CLOEXEC));
    if (!source.valid())
        return errno;
    if (::fstat(source.get(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return EINVAL;

    QByteArray temp = FolderOf(to) + "/.tarl-copy-XXXXXX";
    Fd copy(::mkostemp(temp.data(), O_CLOEXEC));
    if (!copy.valid())
        return errno;
    int err = CopyContents(source.get(), copy.get(), step);
    if (err == 0) {
        // Keep the mode and times; file systems that cannot store them (FAT) still get the data.
        ::fchmod(copy.get(), st.st_mode & 07777);
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(copy.get(), times);
        err = ::fsync(copy.get()) == 0 ? 0 : errno;
    }
    if (const int closed = copy.close(); err == 0)
        err = closed;
    if (err == 0)
        err = RenameNoReplace(temp, target);
    if (err != 0) {
        ::unlink(temp.constData());
        return err;
    }
    SyncFolder(FolderOf(to));
    return 0;
}

// A folder's entry with the key its name sorts by: the key is made once per name, and comparing
// two keys costs far less than comparing two names in the user's language.
struct KeyedEntry {
    QCollatorSortKey key;
    qsizetype at; // the entry's place in the listing as read
};

// Sorts by name in the user's language (NameOrder) in short steps (keys a few hundred at a time,
// runs of a few hundred entries, then merges), calling `step` after each, so no step of a huge
// folder's sort holds the caller for long.
void SortInSteps(QList<FileEntry>& entries, const std::function<void()>& step) {
    // A listing may be asked for on any thread; each keeps its own order.
    thread_local const NameOrder order;
    constexpr qsizetype run = 512;
    const qsizetype size = entries.size();
    std::vector<KeyedEntry> keyed;
    keyed.reserve(static_cast<size_t>(size));
    for (qsizetype at = 0; at < size; ++at) {
        keyed.push_back({order.sortKey(entries[at].name), at});
        if (step && at % run == run - 1)
            step();
    }
    const auto before = [&entries](const KeyedEntry& a, const KeyedEntry& b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : entries[a.at].name < entries[b.at].name;
    };
    for (qsizetype from = 0; from < size; from += run) {
        std::sort(keyed.begin() + from, keyed.begin() + std::min(size, from + run), before);
        if (step)
            step();
    }
    for (qsizetype width = run; width < size; width *= 2) {
        std::vector<KeyedEntry> merged;
        merged.reserve(static_cast<size_t>(size));
        for (qsizetype from = 0; from < size; from += 2 * width) {
            const qsizetype middle = std::min(size, from + width);
            const qsizetype to = std::min(size, from + 2 * width);
            std::merge(std::make_move_iterator(keyed.begin() + from),
                       std::make_move_iterator(keyed.begin() + middle),
                       std::make_move_iterator(keyed.begin() + middle),
                       std::make_move_iterator(keyed.begin() + to), std::back_inserter(merged),
                       before);
            if (step)
                step();
        }
        keyed.swap(merged);
    }
    QList<FileEntry> sorted;
    sorted.reserve(size);
    for (const KeyedEntry& entry : keyed)
        sorted.append(std::move(entries[entry.at]));
    entries.swap(sorted);
}

enum class Sizes { Asked, NotAsked };

// The kind a folder entry states itself (most file systems do); unknown for a link, whose kind is
// its target's, and where the file system leaves it out.
std::optional<bool> StatedIsDir(const dirent& item) {
    if (item.d_type == DT_DIR)
        return true;
    if (item.d_type == DT_REG)
        return false;
    return std::nullopt;
}

FolderListing ListFolder(const QString& folder, const std::function<void()>& step, Sizes sizes) {
    FolderListing listing;
    std::unique_ptr<DIR, DirCloser> dir(::opendir(Native(folder).constData()));
    if (!dir) {
        Fail(&listing.error, QStringLiteral("Cannot read folder ") + Quoted(folder), errno);
        return listing;
    }
    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(dir.get());
        if (!item) {
            if (errno != 0)
                Fail(&listing.error, QStringLiteral("Cannot read folder ") + Quoted(folder), errno);
            break;
        }
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        FileEntry entry;
        entry.name = QFile::decodeName(name);
        entry.isHidden = name.startsWith('.');
        const std::optional<bool> statedIsDir = StatedIsDir(*item);
        if (statedIsDir && sizes == Sizes::NotAsked) {
            entry.isDir = *statedIsDir;
        } else {
            struct stat st {};
            // Gone since readdir saw it: not part of the folder any more.
            if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            entry.isSymlink = S_ISLNK(st.st_mode);
            // A broken link stays a zero-size non-folder.
            if (entry.isSymlink && ::fstatat(dirFd, name.constData(), &st, 0) != 0)
                st = {};
            entry.isDir = S_ISDIR(st.st_mode);
            if (sizes == Sizes::Asked)
                entry.size = S_ISREG(st.st_mode) ? static_cast<qint64>(st.st_size) : 0;
        }
        listing.entries.append(entry);
        if (step && listing.entries.size() % 256 == 0)
            step();
    }
    if (!listing.ok()) {
        listing.entries.clear();
        return listing;
    }
    SortInSteps(listing.entries, step);
    return listing;
}

} // namespace

FolderListing LocalFiles::list(const QString& folder) const {
    return listInSteps(folder, {});
}

FolderListing LocalFiles::listInSteps(const QString& folder,
                                      const std::function<void()>& step) const {
    return ListFolder(folder, step, Sizes::Asked);
}

FolderListing LocalFiles::listKindsInSteps(const QString& folder,
                                           const std::function<void()>& step) const {
    return ListFolder(folder, step, Sizes::NotAsked);
}

bool LocalFiles::exists(const QString& path) const {
    struct stat st {};
    return !path.isEmpty() && ::lstat(Native(path).constData(), &st) == 0;
}

bool LocalFiles::isDir(const QString& path) const {
    struct stat st {};
    return !path.isEmpty() && ::stat(Native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool LocalFiles::copyFile(const QString& from, const QString& to, QString* error) {
    return copyFileInSteps(from, to, {}, error);
}

bool LocalFiles::copyFileInSteps(const QString& from, const QString& to,
                                 const std::function<void()>& step, QString* error) {
    if (const int err = CopyIntoPlace(from, to, step))
        return Fail(error, QStringLiteral("Cannot copy %1 to %2").arg(Quoted(from), Quoted(to)),
                    err);
    return true;
}

bool LocalFiles::moveFile(const QString& from, const QString& to, QString* error) {
    return moveFileInSteps(from, to, {}, error);
}

bool LocalFiles::moveFileInSteps(const QString& from, const QString& to,
                                 const std::function<void()>& step, QString* error) {
    const QString what = QStringLiteral("Cannot move %1 to %2").arg(Quoted(from), Quoted(to));
    const QByteArray source = Native(from);
    const QByteArray target = Native(to);
    const int err = RenameNoReplace(source, target);
    if (err == 0) {
        SyncFolder(FolderOf(to));
        return true;
    }
    if (err != EXDEV)
        return Fail(error, what, err);

    // Another file system: copy, sync, and only then delete the source. Folders are not copied
    // over; the caller moves their files one by one.
    struct stat st {};
    if (::lstat(source.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return Fail(error, what, EXDEV);
    if (const int copyErr = CopyIntoPlace(from, to, step))
        return Fail(error, what, copyErr);
    // The copy is synced; a size that differs from the source's (a file still being written, a
    // short write the file system did not report) must not cost the source. The source's size
    // is its data's, as copied: a link's own (the length of its target's name) would never match.
    struct stat copied {};
    int sizeErr = 0;
    if (::stat(source.constData(), &st) != 0 || ::lstat(target.constData(), &copied) != 0)
        sizeErr = errno;
    else if (st.st_size != copied.st_size)
        sizeErr = EIO;
    if (sizeErr != 0) {
        ::unlink(target.constData());
        return Fail(error, what, sizeErr);
    }
    // A link goes, not the file it leads to: the data moved is now the copy's.
    if (::unlink(source.constData()) != 0) {
        // A source that cannot go (read-only media) must not leave the file in two places.
        const int unlinkErr = errno;
        ::unlink(target.constData());
        return Fail(error, what, unlinkErr);
    }
    SyncFolder(FolderOf(from));
    return true;
}

bool LocalFiles::removeFile(const QString& path, QString* error) {
    const QString what = QStringLiteral("Cannot delete ") + Quoted(path);
    const QByteArray native = Native(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return Fail(error, what, EISDIR);
    if (::unlink(native.constData()) != 0)
        return Fail(error, what, errno);
    return true;
}

bool LocalFiles::makeFolder(const QString& path, QString* error) {
    if (::mkdir(Native(path).constData(), 0777) != 0)
        return Fail(error, QStringLiteral("Cannot make folder ") + Quoted(path), errno);
    return true;
}

bool LocalFiles::removeFolder(const QString& path, QString* error) {
    if (::rmdir(Native(path).constData()) != 0)
        return Fail(error, QStringLiteral("Cannot remove folder ") + Quoted(path), errno);
    return true;
}

QString ResolvedFolder(const QString& folder) {
    const QString cleaned = QDir::cleanPath(folder);
    const QString real = QFileInfo(cleaned).canonicalFilePath();
    const QString resolved = real.isEmpty() ? cleaned : real;
    return resolved.endsWith(u'/') ? resolved : resolved + u'/';
}

QString ResolvedFilePath(const QString& path) {
    if (!path.startsWith(u'/'))
        return {};
    const QString cleaned = QDir::cleanPath(path);
    const qsizetype slash = cleaned.lastIndexOf(u'/');
    return ResolvedFolder(cleaned.left(slash + 1)) + cleaned.mid(slash + 1);
}

bool LiesInFolder(const QString& path, const QString& folder) {
    if (folder.isEmpty() || path.isEmpty())
        return false;
    return path.startsWith(folder) || path == folder.chopped(1);
}

} // namespace tarl
