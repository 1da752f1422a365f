#include "delivery/DropFiles.h"

#include <QtEndian>

QByteArray buildDropFilesBlock(const QString& path) {
    QByteArray block(2 * path.size() + 24, '\0');
    qToLittleEndian<quint32>(20, block.data());
    qToLittleEndian<quint32>(0xFFFFFFFF, block.data() + 16);
    for (qsizetype i = 0; i < path.size(); ++i)
        qToLittleEndian<quint16>(path[i].unicode(), block.data() + 20 + 2 * i);
    return block;
}
