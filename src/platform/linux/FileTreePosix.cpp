// File times, moving without replacing and deleting without following links, for POSIX.

#include "platform/FileSystem.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

namespace {
constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000LL;

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

std::int64_t toNanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

bool copyFileKeepingTime(const QByteArray& source, const QByteArray& target,
                         const struct stat& info) {
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    const int out =
        ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                ok = false;
                break;
            }
            done += put;
        }
        if (!ok)
            break;
    }
    const timespec times[2] = {info.st_atim, info.st_mtim};
    ok = ok && ::futimens(out, times) == 0;
    ok = (::close(out) == 0) && ok;
    ::close(in);
    if (!ok)
        ::unlink(target.constData());
    return ok;
}

// Copies a tree without following links; on failure removes what it made.
bool copyTree(const QByteArray& source, const QByteArray& target) {
    struct stat info {};
    if (::lstat(source.constData(), &info) != 0)
        return false;
    if (S_ISLNK(info.st_mode)) {
        char link[4096];
        const ssize_t length = ::readlink(source.constData(), link, sizeof link - 1);
        if (length < 0)
            return false;
        link[length] = '\0';
        return ::symlink(link, target.constData()) == 0;
    }
    if (!S_ISDIR(info.st_mode))
        return S_ISREG(info.st_mode) && copyFileKeepingTime(source, target, info);
    if (::mkdir(target.constData(), info.st_mode & 07777) != 0)
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(source.constData()), ::closedir);
    bool ok = static_cast<bool>(dir);
    while (ok) {
        const dirent* entry = ::readdir(dir.get());
        if (!entry)
            break;
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        ok = copyTree(source + '/' + name, target + '/' + name);
    }
    const timespec times[2] = {info.st_atim, info.st_mtim};
    ok = ok && ::utimensat(AT_FDCWD, target.constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
    if (!ok)
        deleteTree(QFile::decodeName(target));
    return ok;
}
} // namespace

std::optional<std::int64_t> fileWriteTime(const QString& path) {
    struct stat info {};
    if (::stat(nativePath(path).constData(), &info) != 0)
        return std::nullopt;
    return toNanoseconds(info.st_mtim);
}

bool setFileWriteTime(const QString& path, std::int64_t nanoseconds) {
    std::int64_t seconds = nanoseconds / kNanosecondsPerSecond;
    std::int64_t rest = nanoseconds % kNanosecondsPerSecond;
    if (rest < 0) {
        rest += kNanosecondsPerSecond;
        --seconds;
    }
    timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(seconds);
    times[1].tv_nsec = static_cast<long>(rest);
    return ::utimensat(AT_FDCWD, nativePath(path).constData(), times, 0) == 0;
}

namespace {
// Another file system: copy, and delete the source only once the copy is whole.
MoveResult copyThenDelete(const QString& source, const QByteArray& from, const QByteArray& to) {
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0)
        return MoveResult::TargetExists;
    if (!copyTree(from, to))
        return MoveResult::Failed;
    return deleteTree(source) ? MoveResult::Moved : MoveResult::SourceKept;
}

// For file systems whose rename cannot refuse to replace (some network and FUSE ones): a hard
// link fails on a taken name; a folder is renamed only after checking that the name is free.
MoveResult moveWithoutRenameFlag(const QString& source, const QByteArray& from,
                                 const QByteArray& to) {
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0)
        return MoveResult::TargetExists;
    struct stat sourceInfo {};
    if (::lstat(from.constData(), &sourceInfo) != 0)
        return MoveResult::Failed;
    if (!S_ISDIR(sourceInfo.st_mode)) {
        if (::link(from.constData(), to.constData()) != 0) {
            if (errno == EEXIST)
                return MoveResult::TargetExists;
            if (errno == EXDEV)
                return copyThenDelete(source, from, to);
            return MoveResult::Failed;
        }
        return ::unlink(from.constData()) == 0 ? MoveResult::Moved : MoveResult::SourceKept;
    }
    if (::rename(from.constData(), to.constData()) == 0)
        return MoveResult::Moved;
    if (errno == EXDEV)
        return copyThenDelete(source, from, to);
    return errno == EEXIST || errno == ENOTEMPTY ? MoveResult::TargetExists : MoveResult::Failed;
}
} // namespace

MoveResult moveEntryNoReplace(const QString& source, const QString& target) {
    const QByteArray from = nativePath(source);
    const QByteArray to = nativePath(target);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return MoveResult::Moved;
    switch (errno) {
    case EEXIST:
        return MoveResult::TargetExists;
    case EXDEV:
        return copyThenDelete(source, from, to);
    case EINVAL:
    case ENOSYS:
    case ENOTSUP:
        return moveWithoutRenameFlag(source, from, to);
    default:
        return MoveResult::Failed;
    }
}

bool deleteTree(const QString& path) {
    const QByteArray native = nativePath(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        return false;
    if (!S_ISDIR(info.st_mode))
        return ::unlink(native.constData()) == 0;
    bool ok = true;
    {
        std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(native.constData()), ::closedir);
        if (!dir)
            return false;
        while (const dirent* entry = ::readdir(dir.get())) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            ok = deleteTree(QFile::decodeName(native + '/' + name)) && ok;
        }
    }
    return ::rmdir(native.constData()) == 0 && ok;
}

QString toNativeLineBreaks(const QString& text) {
    QString native = text;
    return native.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
