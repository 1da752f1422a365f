#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

// The thumbnails made for high-resolution screens. They are kept in the user's cache folder
// (`$XDG_CACHE_HOME/jolvex/thumbnails`), never beside the pictures: the library's folders hold
// only the 40x40 `.thb` files other programs read. One PNG file per picture and side, named by
// a hash of the picture's path, size in bytes and write time, so that a changed picture gets a
// new file; the picture's path is also written inside it, so that tidy() can tell which files
// lost their picture.
class ScaledThumbnailFiles {
public:
    // An empty folder keeps no files: the thumbnails live in memory only.
    explicit ScaledThumbnailFiles(QString folder);

    bool keepsFiles() const { return !folder_.isEmpty(); }
    const QString& folder() const { return folder_; }

    // The file for the picture at `picturePath` as it is now, made for `side`; empty when the
    // picture cannot be read or no folder is kept.
    QString fileFor(const QString& picturePath, int side) const;
    // The thumbnail in `file` with its device pixel ratio set; nothing when there is none or
    // it is damaged or larger than `side` (it is made again).
    std::optional<QImage> read(const QString& file, int side) const;
    // Saves `thumbnail` into `file`, creating the folder; false (and logged) when it cannot.
    bool write(const QString& file, const QImage& thumbnail, const QString& picturePath) const;

    // Removes the files whose picture is gone or has changed, then the least recently written
    // until the folder holds at most `budgetBytes`. Only this program's files are touched.
    struct Tidied {
        int removed = 0;
        qint64 bytesKept = 0;
    };
    Tidied tidy(qint64 budgetBytes) const;
    // 10,000 thumbnails at 2x take about 100 MB.
    static constexpr qint64 DefaultBudget = 256LL * 1024 * 1024;

private:
    QString nameFor(const QString& picturePath, qint64 pictureBytes, std::int64_t pictureTime,
                    int side) const;

    QString folder_;
};
