#include "base/FileRoutines.h"

#include "base/NameCompare.h"
#include "base/TextCodec.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>

namespace {
bool isDotEntry(const QString& name) {
    return name == u"." || name == u"..";
}
} // namespace

QList<DirEntry> listFolder(const QString& folder) {
    QList<DirEntry> entries = enumerateDirectory(folder);
    std::stable_sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        return compareNames(a.name, b.name) < 0;
    });
    return entries;
}

void listFilesRecursive(const QString& folder, QStringList& list) {
    for (const DirEntry& entry : listFolder(folder)) {
        if (isPlainFolder(entry)) {
            if (!isDotEntry(entry.name))
                listFilesRecursive(folder + PathSeparator + entry.name, list);
            continue;
        }
        list.append(folder + PathSeparator + entry.name);
    }
}

bool moveSubFolders(const QString& source, const QString& destination,
                    std::optional<FileError>* error) {
    for (const DirEntry& entry : listFolder(source))
        if (isPlainFolder(entry) && !isDotEntry(entry.name) &&
            !moveIntoFolder(source + PathSeparator + entry.name, destination, error))
            return false;
    return true;
}

QString numberedName(const QString& wanted, int n, bool isFolder) {
    if (n == 1)
        return wanted;
    const qsizetype slash = wanted.lastIndexOf(PathSeparator);
    const QString name = wanted.mid(slash + 1);
    const qsizetype dot = isFolder ? -1 : name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    return wanted.left(slash + 1) + QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(extension);
}

bool deleteDirectory(const QString& path) {
    return deleteTree(path);
}

bool moveNoReplace(const QString& from, const QString& target, std::optional<FileError>* error,
                   QString* movedTo) {
    const QString shownFrom = QDir::cleanPath(from);
    auto fail = [error, &shownFrom](FileProblem problem, const QString& otherPath = QString()) {
        if (error)
            error->emplace(problem, shownFrom, 0, otherPath);
        return false;
    };
    if (!pathExists(from))
        return fail(FileProblem::NotFound);
    if (movedTo)
        *movedTo = from;
    if (target == from)
        return true;
    const bool isFolder = isDirectoryItself(from);
    // Names are tried in turn; one taken between the look and the move is met by the next.
    for (int n = 1; n <= MostNumberedNames; ++n) {
        const QString candidate = numberedName(target, n, isFolder);
        if (pathExists(candidate))
            continue;
        switch (moveEntryNoReplace(from, candidate)) {
        case MoveResult::Moved:
            if (movedTo)
                *movedTo = candidate;
            return true;
        case MoveResult::TargetExists:
            continue;
        case MoveResult::SourceKept:
            return fail(FileProblem::MovedCopyKept, QDir::cleanPath(candidate));
        case MoveResult::Failed:
            return fail(FileProblem::MoveFailed);
        }
    }
    return fail(FileProblem::NoFreeName);
}

bool writeNewFile(const QString& target, const QByteArray& bytes, std::optional<FileError>* error,
                  QString* writtenTo) {
    const QString folder = target.left(target.lastIndexOf(PathSeparator));
    // Said of the file asked for, not of the one written aside.
    auto fail = [&](const FileError& failure) {
        if (error)
            error->emplace(failure.problem(), QDir::cleanPath(target), failure.errorNumber());
        return false;
    };
    const QString aside = folder + QStringLiteral("/.jolvex-incoming-") +
                          QString::number(QRandomGenerator::global()->generate64(), 16);
    try {
        replaceFileContents(aside, bytes); // honours a read-only folder, as every write does
    } catch (const FileError& failure) {
        return fail(failure);
    }
    std::optional<FileError> moveError;
    if (moveNoReplace(aside, target, &moveError, writtenTo))
        return true;
    QFile::remove(aside);
    const bool noName = moveError && moveError->problem() == FileProblem::NoFreeName;
    return fail(FileError(noName ? FileProblem::NoFreeName : FileProblem::WriteFailed, target,
                          moveError ? moveError->errorNumber() : 0));
}

bool makeNewFolder(const QString& target, std::optional<FileError>* error, QString* madeAt) {
    const QString folder = target.left(target.lastIndexOf(PathSeparator));
    if (!QFileInfo(folder).permission(QFile::WriteOwner)) { // read-only, also for root
        if (error)
            error->emplace(FileProblem::ReadOnlyFolder, QDir::cleanPath(target));
        return false;
    }
    for (int n = 1; n <= MostNumberedNames; ++n) {
        const QString candidate = numberedName(target, n, true);
        if (pathExists(candidate))
            continue;
        if (QDir().mkdir(candidate)) {
            if (madeAt)
                *madeAt = candidate;
            return true;
        }
        if (!pathExists(candidate)) { // not taken meanwhile: the folder does not allow it
            if (error)
                error->emplace(FileProblem::WriteFailed, QDir::cleanPath(candidate), errno);
            return false;
        }
    }
    if (error)
        error->emplace(FileProblem::NoFreeName, QDir::cleanPath(target));
    return false;
}

bool isEmptyFolder(const QString& folder) {
    const QList<DirEntry> entries = listFolder(folder);
    return std::all_of(entries.begin(), entries.end(),
                       [](const DirEntry& entry) { return isDotEntry(entry.name); });
}

void copyFolderContents(const QString& from, const QString& to) {
    if (!forceDirectories(to))
        throw FileError(FileProblem::WriteFailed, QDir::cleanPath(to), EACCES);
    for (const DirEntry& entry : listFolder(from)) {
        if (isDotEntry(entry.name) || entry.link)
            continue;
        const QString source = from + PathSeparator + entry.name;
        const QString target = to + PathSeparator + entry.name;
        if (entry.type == EntryType::Folder)
            copyFolderContents(source, target);
        else if (entry.type == EntryType::File && !pathExists(target))
            replaceFileContents(target, readWholeFile(source));
    }
}

bool moveIntoFolder(const QString& from, const QString& folder, std::optional<FileError>* error) {
    return moveNoReplace(from, folder + PathSeparator + nodeName(from), error);
}

QString loadTextFile(const QString& path) {
    if (!fileExists(path))
        return {};
    QString text = decodeTextByBom(readWholeFile(path));
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text.truncate(nul);
    QString result;
    result.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r') {
            result += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            result += QStringLiteral("\r\n");
        } else {
            result += c;
        }
    }
    return result;
}
