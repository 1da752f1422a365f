#include "platform/FileError.h"

#include <cstring>

namespace {
const char* problemName(FileProblem problem) {
    switch (problem) {
    case FileProblem::WriteOntoFolder:
        return "cannot write a file where a folder is";
    case FileProblem::ReadOnlyFile:
        return "cannot write a read-only file";
    case FileProblem::ReadOnlyFolder:
        return "cannot write into a read-only folder";
    case FileProblem::WriteFailed:
        return "cannot write";
    case FileProblem::ReadFailed:
        return "cannot read";
    case FileProblem::NotPlainFile:
        return "not a regular file";
    case FileProblem::NotFound:
        return "not found";
    case FileProblem::MovedCopyKept:
        return "copied, but the original could not be removed";
    case FileProblem::MoveFailed:
        return "cannot move";
    case FileProblem::NoFreeName:
        return "cannot move: no free name";
    }
    return "file error";
}

std::string logLine(FileProblem problem, const QString& path, int errorNumber,
                    const QString& otherPath) {
    std::string line = std::string(problemName(problem)) + ": " + path.toStdString();
    if (!otherPath.isEmpty())
        line += " -> " + otherPath.toStdString();
    if (errorNumber != 0)
        line += std::string(" (") + std::strerror(errorNumber) + ")";
    return line;
}
} // namespace

FileError::FileError(FileProblem problem, const QString& path, int errorNumber,
                     const QString& otherPath)
    : std::runtime_error(logLine(problem, path, errorNumber, otherPath)), problem_(problem),
      path_(path), otherPath_(otherPath), errorNumber_(errorNumber) {}
