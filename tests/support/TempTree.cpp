#include "support/TempTree.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TempTree::TempTree() {
    EXPECT_TRUE(dir_.isValid());
}

TempTree::~TempTree() {
    // Give write permission back so that the folder can be removed.
    QDirIterator it(Path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    }
}

QString TempTree::Write(const QString& relative, const QByteArray& bytes) {
    const QString path = *this / relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    return path;
}

QString TempTree::MakeFolder(const QString& relative) {
    const QString path = *this / relative;
    EXPECT_TRUE(QDir().mkpath(path));
    return path;
}

QByteArray TempTree::Read(const QString& relative) const {
    QFile file(*this / relative);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TempTree::SetReadOnly(const QString& relative, bool readOnly) {
    const QString path = *this / relative;
    auto permissions = QFile::permissions(path);
    const auto write = QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
                       QFileDevice::WriteOther;
    QFile::setPermissions(path,
                          readOnly ? permissions & ~write : permissions | QFileDevice::WriteOwner);
}

QStringList TempTree::Names(const QString& relative) const {
    QStringList names =
        QDir(relative.isEmpty() ? Path() : *this / relative)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    names.sort();
    return names;
}

QByteArray Utf16LeLines(const QStringList& lines) {
    QByteArray bytes("\xFF\xFE", 2);
    for (const QString& line : lines)
        for (QChar c : line + "\r\n") {
            bytes.append(char(c.unicode() & 0xFF));
            bytes.append(char(c.unicode() >> 8));
        }
    return bytes;
}
