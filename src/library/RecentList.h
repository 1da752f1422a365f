#pragma once

#include <QString>
#include <QStringList>

// The pictures and snippets pasted last, newest first, each once, kept across starts in a
// small UTF-8 file: a first line naming the format, then one full path a line. A missing,
// damaged or foreign file reads as an empty list and is never a reason to stop.
class RecentList {
public:
    static constexpr int Capacity = 40;

    // An empty `file`: the list lasts for this run only.
    explicit RecentList(const QString& file);

    // Reads the file; the list is empty when it cannot be read or is not ours.
    void load();
    // `path` was pasted: it goes first, and the oldest past the capacity go. Saved at once. A
    // name with a line break in it is not kept.
    void add(const QString& path);
    void clear();
    // A file or folder of the library was moved from `from` to `to`: the paths at or inside it
    // follow. Saved when anything changed.
    void pathMoved(const QString& from, const QString& to);
    // Leaves out the paths whose file is gone (saved when any went), and returns the rest.
    QStringList dropMissing();

    const QStringList& paths() const { return paths_; }

private:
    // Replaces the file atomically; throws FileError when it cannot be written.
    void save() const;

    QString file_;
    QStringList paths_;
};
