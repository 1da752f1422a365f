#pragma once

#include <QString>

#include <stdexcept>

// What went wrong with a file or folder.
enum class FileProblem {
    WriteOntoFolder, // a file was to be written where a folder is
    ReadOnlyFile,
    ReadOnlyFolder,
    WriteFailed, // errorNumber says why
    ReadFailed,  // errorNumber says why
    NotPlainFile,
    NotFound,
    MovedCopyKept, // copied to otherPath, but the original could not be removed
    MoveFailed,
    NoFreeName, // every candidate name beside the target was taken
};

// A file operation that failed, as a value: the problem, the path (and a second one where the
// problem names two) and the system's error number. The sentence the user reads is made by
// the interface from these; what() is a plain English line for the logs.
class FileError : public std::runtime_error {
public:
    FileError(FileProblem problem, const QString& path, int errorNumber = 0,
              const QString& otherPath = QString());

    FileProblem problem() const { return problem_; }
    const QString& path() const { return path_; }
    const QString& otherPath() const { return otherPath_; }
    int errorNumber() const { return errorNumber_; }

private:
    FileProblem problem_;
    QString path_;
    QString otherPath_;
    int errorNumber_;
};
