#pragma once

#include <QString>

// Each picture's thumbnail lives beside it as "<picture>.thb". The library knows the name so
// that a picture moved to another folder or name takes its thumbnail along.
inline QString thumbnailPath(const QString& picturePath) {
    return picturePath + QStringLiteral(".thb");
}
