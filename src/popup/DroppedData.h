#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QMimeData;

// What a drag from another program carries, as far as the library can use it: files and
// folders (a file manager, a desktop), or a picture (a web page: its own bytes when the
// browser offers them, else the image it shows, as PNG), with the address it came from.
struct DroppedData {
    QStringList files;
    QByteArray pictureBytes;
    QString pictureAddress;

    bool isEmpty() const { return files.isEmpty() && pictureBytes.isEmpty(); }
};

// Whether a drag may carry such data: looked at when it enters, from its formats alone.
bool mayCarryDroppedData(const QMimeData& mime);
// Asks the drag's source to save its file itself at the path given (see
// Platform::offerDirectSave); false when it offers no such save.
using DirectSaveOffer = std::function<bool(const QString& path)>;

// Reads the data at the drop. Nothing is fetched from the network: a drag that carries only a
// picture's remote address gives just the address. Given `offerDirectSave`, a source that
// offers a picture's own file only by saving it (Firefox) saves it in a temporary folder,
// waited for up to a few seconds; the picture's bytes are taken from there.
DroppedData readDroppedData(const QMimeData& mime, const DirectSaveOffer& offerDirectSave = {});
