#pragma once

#include "platform/FileError.h"

// The file half of the platform layer: directory enumeration, existence tests, folder creation,
// atomic file replacement and the decoding of text that carries no byte-order mark. Needs Qt Core
// only, so it works without a display.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

#ifdef _WIN32
inline constexpr char16_t PathSeparator = u'\\';
#else
inline constexpr char16_t PathSeparator = u'/';
#endif

// The file name of the program `base` on this platform ("7z", or "7z.exe" on Windows).
inline QString executableFileName(const QString& base) {
#ifdef _WIN32
    return base + QStringLiteral(".exe");
#else
    return base;
#endif
}

enum class EntryType {
    Folder,
    File,  // a regular file: something that can be read
    Other, // a pipe, a device, a dangling link, or what could not be looked at
};

struct DirEntry {
    QString name;
    EntryType type = EntryType::Other; // of the entry, or of what a link points at
    bool hidden = false;               // a dot name ("." and ".." are not hidden)
    bool readOnly = false;             // its owner may not write it (a link never is)
    bool link = false;                 // a symbolic link
};

// A folder that listings go into: a directory itself (not a link to one, so that no scan
// follows a link loop), visible and writable. "." and ".." are plain folders too.
inline bool isPlainFolder(const DirEntry& entry) {
    return entry.type == EntryType::Folder && !entry.hidden && !entry.readOnly && !entry.link;
}

// Every entry of `folder`, "." and ".." included, in the order the file system returns them.
// A folder that cannot be read yields nothing.
QList<DirEntry> enumerateDirectory(const QString& folder);

bool fileExists(const QString& path);      // a file (or anything but a directory) is there
bool pathExists(const QString& path);      // anything is there, a dangling link included
bool directoryExists(const QString& path); // a directory is there
// A regular file is there itself: not a link, a folder, a pipe or a device.
bool isPlainFile(const QString& path);
// A directory is there itself, not a link to one.
bool isDirectoryItself(const QString& path);
// Creates `path` with any missing parents; true when the directory exists afterwards.
bool forceDirectories(const QString& path);

// Whether a replaced file's bytes must be on the disk before it takes the old one's place.
// A cache file can be made again, and waiting for the disk at each of hundreds of thumbnails
// costs more than making them.
enum class WriteDurability { Synced, Cache };

// Replaces the file at `path` with `bytes` through a temporary file in the same folder, so
// that a crash leaves the old file or the new one (a Cache write may leave the new one empty).
// Throws FileError when the folder or a read-only existing file does not allow it.
void replaceFileContents(const QString& path, const QByteArray& bytes,
                         WriteDurability durability = WriteDurability::Synced);

// Reads a whole regular file, at most as many bytes as its size; never blocks on a pipe or a
// device. Throws FileError when it cannot be read or is not a regular file.
QByteArray readWholeFile(const QString& path);

// Text without a byte-order mark: UTF-8 when the bytes are valid UTF-8, else GB18030,
// the superset of the code page most existing libraries were written in.
QString decodeAnsiText(const QByteArray& bytes);

// Last-write time in nanoseconds since the Unix epoch. Empty when the time cannot be read.
std::optional<std::int64_t> fileWriteTime(const QString& path);
// Sets the last-write time, leaving the other times alone; false when it cannot.
bool setFileWriteTime(const QString& path, std::int64_t nanoseconds);
// Whether two write times are the same to the 100-nanosecond tick: the precision the `.thb`
// files beside existing libraries' pictures were given their pictures' times with.
inline bool sameWriteTime(std::int64_t a, std::int64_t b) {
    const auto tick = [](std::int64_t t) { return t >= 0 ? t / 100 : -((-t + 99) / 100); };
    return tick(a) == tick(b);
}

enum class MoveResult {
    Moved,
    TargetExists, // something is at the target: nothing was done
    Failed,       // nothing was done, or a partial copy was removed again
    SourceKept,   // copied to another file system whole, but the source could not be removed
};
// Moves a file or folder to exactly `target`, never replacing anything and never following a
// link. Works across file systems (copy, then delete), keeping last-write times, and on file
// systems without an atomic no-replace rename.
MoveResult moveEntryNoReplace(const QString& source, const QString& target);
// Deletes a file, a link or a whole folder; a symbolic link is removed, never followed.
bool deleteTree(const QString& path);

// Text with the line breaks this platform's text fields expect (LF here, CR LF on Windows).
QString toNativeLineBreaks(const QString& text);
