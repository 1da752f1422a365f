#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstring>
#include <memory>

namespace {
// What the entry `name` of the open folder `folder` is. A link is looked at through, once.
DirEntry describeEntry(int folder, const char* name) {
    DirEntry entry;
    struct stat linkInfo {};
    if (::fstatat(folder, name, &linkInfo, AT_SYMLINK_NOFOLLOW) != 0)
        return entry;
    entry.link = S_ISLNK(linkInfo.st_mode);
    struct stat info = linkInfo;
    if (entry.link && ::fstatat(folder, name, &info, 0) != 0)
        info = linkInfo; // a dangling link
    entry.type = S_ISDIR(info.st_mode)   ? EntryType::Folder
                 : S_ISREG(info.st_mode) ? EntryType::File
                                         : EntryType::Other;
    const bool isDot = std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
    entry.hidden = name[0] == '.' && !isDot;
    entry.readOnly = (linkInfo.st_mode & S_IWUSR) == 0 && !entry.link;
    return entry;
}
} // namespace

QList<DirEntry> enumerateDirectory(const QString& folder) {
    QList<DirEntry> entries;
    const QByteArray encodedFolder = QFile::encodeName(folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(encodedFolder.constData()), ::closedir);
    if (!dir)
        return entries;
    // Entries are looked up relative to the open folder: one short lookup each, not the whole
    // path again (a folder of thousands of pictures is listed at every opening).
    const int folderFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        const QString name = QFile::decodeName(entry->d_name);
        // A name in another encoding (left by an old unpacking tool) decodes to a different
        // name, whose path would reach another file or none.
        if (QFile::encodeName(name) != QByteArray(entry->d_name))
            continue;
        DirEntry described = describeEntry(folderFd, entry->d_name);
        described.name = name;
        entries.append(std::move(described));
    }
    return entries;
}

bool fileExists(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool pathExists(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool directoryExists(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isPlainFile(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectoryItself(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool forceDirectories(const QString& path) {
    if (directoryExists(path))
        return true;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash > 0 && !forceDirectories(path.left(slash)))
        return false;
    ::mkdir(QFile::encodeName(path).constData(), 0777);
    return directoryExists(path);
}

void replaceFileContents(const QString& path, const QByteArray& bytes, WriteDurability durability) {
    const QString shown = QDir::cleanPath(path);
    const QByteArray target = QFile::encodeName(path);
    // The write bits are looked at even for root, so that read-only files and folders are
    // honoured the same way for every user. A link where the file belongs is replaced by the
    // new file, never written through: its target may be anywhere.
    struct stat info {};
    const bool exists = ::lstat(target.constData(), &info) == 0;
    const bool regular = exists && S_ISREG(info.st_mode);
    if (exists && S_ISDIR(info.st_mode))
        throw FileError(FileProblem::WriteOntoFolder, shown);
    if (regular && (info.st_mode & S_IWUSR) == 0)
        throw FileError(FileProblem::ReadOnlyFile, shown);
    const QString folder = path.left(std::max<qsizetype>(path.lastIndexOf(u'/'), 1));
    struct stat folderInfo {};
    if (::stat(QFile::encodeName(folder).constData(), &folderInfo) == 0 &&
        (folderInfo.st_mode & S_IWUSR) == 0)
        throw FileError(FileProblem::ReadOnlyFolder, shown);

    auto failure = [&shown](int error) {
        return FileError(FileProblem::WriteFailed, shown, error);
    };
    // A new file in the same folder, renamed over the old one: a crash leaves one or the other.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target + ".~" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            throw failure(errno);
    }
    if (fd < 0)
        throw failure(EEXIST);
    int error = 0;
    for (qsizetype done = 0; done < bytes.size() && error == 0;) {
        const ssize_t put =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (put < 0 && errno != EINTR)
            error = errno;
        else if (put > 0)
            done += put;
    }
    if (error == 0 && regular && ::fchmod(fd, info.st_mode & 07777) != 0)
        error = errno;
    if (error == 0 && durability == WriteDurability::Synced && ::fdatasync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        throw failure(error);
    }
}

QByteArray readWholeFile(const QString& path) {
    auto failure = [&path](int error) {
        return FileError(FileProblem::ReadFailed, QDir::cleanPath(path), error);
    };
    // Opened without blocking, so that a pipe or a device named like a picture cannot hang the
    // caller; only a regular file is read, and never past the size it had when opened.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw failure(errno);
    const std::unique_ptr<int, void (*)(int*)> closer(new int(fd), [](int* d) {
        ::close(*d);
        delete d;
    });
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw failure(errno);
    if (!S_ISREG(info.st_mode))
        throw FileError(FileProblem::NotPlainFile, QDir::cleanPath(path));
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(info.st_size));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw failure(errno);
        if (got == 0)
            break; // the file shrank meanwhile
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

QString decodeAnsiText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb18030("GB18030");
    if (gb18030.isValid())
        return gb18030.decode(bytes);
    return QString::fromLatin1(bytes);
}
