#include "import/SevenZip.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

QString findSevenZip(const QString& exeDir) {
    for (const char* name : {"7z", "7z.exe"}) {
        const QFileInfo beside(exeDir + QString::fromLatin1(name));
        if (beside.isFile() && beside.isExecutable())
            return beside.filePath();
    }
    for (const char* name : {"7z", "7zz", "7za"}) {
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
    if (process.exitCode() != 0) {
        // 7z names the trouble in its last lines ("ERROR: ...", "Can not open the file as
        // archive", "Disk full").
        QStringList lines;
        for (const QByteArray& line : output.split('\n'))
            if (!line.trimmed().isEmpty())
                lines << QString::fromLocal8Bit(line.trimmed());
        const QString why = lines.isEmpty()
                                ? QString()
                                : lines.mid(std::max<qsizetype>(0, lines.size() - 2)).join(u' ');
        return {false,
                QStringLiteral("7z 报告错误（退出代码 %1）：%2").arg(process.exitCode()).arg(why)};
    }
    return {true, {}};
}
