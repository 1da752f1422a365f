#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

namespace {
std::uint32_t attributesOf(const QByteArray& fullPath, const char* name) {
    struct stat linkInfo {};
    if (::lstat(fullPath.constData(), &linkInfo) != 0)
        return AttributeArchive;
    const bool isLink = S_ISLNK(linkInfo.st_mode);
    struct stat info = linkInfo;
    if (isLink && ::stat(fullPath.constData(), &info) != 0)
        info = linkInfo; // dangling link: a file
    const bool isDot = std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
    std::uint32_t attributes = S_ISDIR(info.st_mode) ? AttributeDirectory : AttributeArchive;
    if (isLink)
        attributes |= AttributeReparsePoint;
    if (name[0] == '.' && !isDot)
        attributes |= AttributeHidden;
    if ((linkInfo.st_mode & S_IWUSR) == 0 && !isLink)
        attributes |= AttributeReadOnly;
    return attributes;
}
} // namespace

QList<DirEntry> enumerateDirectory(const QString& folder) {
    QList<DirEntry> entries;
    const QByteArray encodedFolder = QFile::encodeName(folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(encodedFolder.constData()), ::closedir);
    if (!dir)
        return entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray fullPath = encodedFolder + '/' + entry->d_name;
        entries.append({QFile::decodeName(entry->d_name), attributesOf(fullPath, entry->d_name)});
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

bool forceDirectories(const QString& path) {
    if (directoryExists(path))
        return true;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash > 0 && !forceDirectories(path.left(slash)))
        return false;
    ::mkdir(QFile::encodeName(path).constData(), 0777);
    return directoryExists(path);
}

void replaceFileContents(const QString& path, const QByteArray& bytes) {
    // The write bits are looked at even for root, so that read-only files and folders are
    // honoured the same way for every user.
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && (info.st_mode & S_IWUSR) == 0)
        throw FileError(
            QStringLiteral("无法写入文件 \"%1\"：文件是只读的。").arg(QDir::cleanPath(path)));
    const QString folder = path.left(std::max<qsizetype>(path.lastIndexOf(u'/'), 1));
    if (::stat(QFile::encodeName(folder).constData(), &info) == 0 && (info.st_mode & S_IWUSR) == 0)
        throw FileError(
            QStringLiteral("无法写入文件 \"%1\"：文件夹是只读的。").arg(QDir::cleanPath(path)));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(QStringLiteral("无法写入文件 \"%1\"：%2")
                            .arg(QDir::cleanPath(path), file.errorString()));
}

QByteArray readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("无法读取文件 \"%1\"：%2")
                            .arg(QDir::cleanPath(path), file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("无法读取文件 \"%1\"：%2")
                            .arg(QDir::cleanPath(path), file.errorString()));
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
