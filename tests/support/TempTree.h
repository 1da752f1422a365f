#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh folder that tests fill with files and sub-folders; removed with the object.
class TempTree {
public:
    TempTree();
    ~TempTree();

    QString Path() const { return dir_.path(); }
    QString operator/(const QString& relative) const { return Path() + '/' + relative; }

    // Writes `bytes` to the relative path, creating missing folders; returns the full path.
    QString Write(const QString& relative, const QByteArray& bytes = {});
    QString MakeFolder(const QString& relative);
    QByteArray Read(const QString& relative) const;
    // Turns the owner's write permission off (read-only attribute) or back on.
    void SetReadOnly(const QString& relative, bool readOnly);
    // Names in the folder, sorted, for checking that nothing else appeared.
    QStringList Names(const QString& relative = {}) const;

private:
    QTemporaryDir dir_;
};

// UTF-16LE bytes with the FF FE mark and CR LF after every line.
QByteArray Utf16LeLines(const QStringList& lines);
