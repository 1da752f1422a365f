#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The 7-Zip command-line program that unpacks packages.

// The program: 7z in the program's folder first, then 7z or 7zz on the PATH;
// empty when there is none. 7za is not looked for: it cannot read compound files.
QString findSevenZip(const QString& exeDir);

struct ExtractResult {
    bool ok = false;
    QString error; // for the user, when not ok
};

// The user's words for a failed run of 7z from what it printed: a package it cannot open or
// that is cut short is called damaged, with 7z's own reason line (never its byte counters).
QString describeSevenZipFailure(const QByteArray& output, int exitCode, const QString& packageName);

// Unpacks `package` into `outputFolder` (made when missing), leaving out entries whose names
// match one of `exclusions` (wildcards, in every folder, letter case ignored). The package's
// name reaches 7z as a plain argument, never through a shell; 7z reads no input. Calls `tick`
// about every 30 ms while 7z runs, so that the caller can keep its windows painted.
ExtractResult extractPackage(const QString& sevenZip, const QString& package,
                             const QString& outputFolder, const QStringList& exclusions,
                             const std::function<void()>& tick);
