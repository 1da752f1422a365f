#include "import/SevenZip.h"

#include "base/NameCompare.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
// 7z's closing counters ("Size:       0", "Compressed: 0"), which say nothing about a failure.
bool isCounterLine(const QString& line) {
    static const QRegularExpression counter(
        QStringLiteral("^(Files|Folders|Size|Compressed|Errors|Warnings|Sub items Errors|"
                       "Archives|Archives with Errors|OK archives|Can't open as archive|"
                       "Open Errors|Everything is Ok)\\b"));
    return counter.match(line).hasMatch();
}

// What 7z says when the bytes are no archive it can read, or are cut or damaged.
bool saysDamaged(const QString& text) {
    static const QRegularExpression damaged(
        QStringLiteral("Can ?not open the file as archive|Can't open as archive|"
                       "Is not archive|Unexpected end of (archive|data)|Headers Error|"
                       "Data Error|CRC Failed|There are data after the end"),
        QRegularExpression::CaseInsensitiveOption);
    return damaged.match(text).hasMatch();
}
} // namespace

QString describeSevenZipFailure(const QByteArray& output, int exitCode,
                                const QString& packageName) {
    QStringList lines;
    for (const QByteArray& line : output.split('\n'))
        if (!line.trimmed().isEmpty())
            lines << QString::fromLocal8Bit(line.trimmed());
    // 7z writes its reason as "ERROR: <name>" with the reason on the next line, or
    // "ERROR: <reason> : <name>" on one.
    QStringList reasons;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(QStringLiteral("ERROR:")))
            continue;
        QString reason = lines[i];
        if (i + 1 < lines.size() && !isCounterLine(lines[i + 1]) &&
            !lines[i + 1].startsWith(QStringLiteral("ERROR:")))
            reason += u' ' + lines[++i];
        if (!reasons.contains(reason))
            reasons << reason;
    }
    if (reasons.isEmpty()) {
        QStringList told;
        for (const QString& line : lines)
            if (!isCounterLine(line))
                told << line;
        reasons = told.mid(std::max<qsizetype>(0, told.size() - 2));
    }
    const QString why = reasons.join(u' ');
    if (saysDamaged(QString::fromLocal8Bit(output)))
        return QStringLiteral("\"%1\" 已损坏，或者不是QQ表情文件。\n7z：%2").arg(packageName, why);
    return QStringLiteral("7z 报告错误（退出代码 %1）：%2").arg(exitCode).arg(why);
}

QString findSevenZip(const QString& exeDir) {
    const QFileInfo beside(exeDir + executableFileName(QStringLiteral("7z")));
    if (beside.isFile() && beside.isExecutable())
        return beside.filePath();
    // 7za reads 7z and zip archives only, not the compound files that packages are.
    for (const char* name : {"7z", "7zz"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

ExtractResult extractPackage(const QString& sevenZip, const QString& package,
                             const QString& outputFolder, const QStringList& exclusions,
                             const std::function<void()>& tick) {
    // 7z expands * and ? in the archive's name itself: such a package is read from a copy
    // under a plain name.
    QTemporaryDir plainCopy;
    QString archive = package;
    const QString name = package.mid(package.lastIndexOf(PathSeparator) + 1);
    if (name.contains(u'*') || name.contains(u'?')) {
        archive = plainCopy.filePath(QStringLiteral("package"));
        if (!plainCopy.isValid() || !QFile::copy(package, archive))
            return {false, QStringLiteral("无法读取文件 \"%1\"。").arg(package)};
    }
    QStringList arguments{QStringLiteral("x"),     QStringLiteral("-aoa"),
                          QStringLiteral("-bd"),   QStringLiteral("-spod"),
                          QStringLiteral("-ssc-"), QStringLiteral("-o") + outputFolder};
    for (const QString& pattern : exclusions)
        arguments << QStringLiteral("-x!") + pattern;
    arguments << QStringLiteral("-r") << QStringLiteral("--") << archive;

    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(sevenZip, arguments);
    if (!process.waitForStarted(10000))
        return {false, QStringLiteral("无法启动 %1。").arg(sevenZip)};
    QByteArray output;
    while (!process.waitForFinished(30)) {
        output += process.readAll();
        output = output.right(4096); // only the end is told
        if (tick)
            tick();
    }
    output += process.readAll();
    if (process.exitStatus() != QProcess::NormalExit)
        return {false, QStringLiteral("7z 意外结束。")};
    if (process.exitCode() != 0)
        return {false, describeSevenZipFailure(output, process.exitCode(), nodeName(package))};
    return {true, {}};
}
