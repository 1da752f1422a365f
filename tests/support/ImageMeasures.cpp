#include "ImageMeasures.h"

#include <QColor>
#include <QString>

#include <algorithm>
#include <cmath>

ImageDifference CompareImages(const QImage& a, const QImage& b) {
    ImageDifference difference;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size() || x.isNull())
        return {255, 255};
    long long sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
                sum += std::abs(d);
                difference.largest = std::max(difference.largest, std::abs(d));
            }
        }
    difference.mean = static_cast<double>(sum) / (3.0 * x.width() * x.height());
    return difference;
}

std::string FirstDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return QString("sizes %1x%2 and %3x%4")
            .arg(x.width())
            .arg(x.height())
            .arg(y.width())
            .arg(y.height())
            .toStdString();
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column)
            if (x.pixel(column, row) != y.pixel(column, row))
                return QString("(%1, %2): %3 and %4")
                    .arg(column)
                    .arg(row)
                    .arg(x.pixelColor(column, row).name(), y.pixelColor(column, row).name())
                    .toStdString();
    return "same";
}

double GradientEnergy(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    long long count = 0;
    for (int y = 0; y + 1 < grey.height(); ++y)
        for (int x = 0; x + 1 < grey.width(); ++x) {
            const int here = qGray(grey.pixel(x, y));
            const int right = qGray(grey.pixel(x + 1, y)) - here;
            const int below = qGray(grey.pixel(x, y + 1)) - here;
            sum += right * right + below * below;
            count += 2;
        }
    return count ? std::sqrt(sum / count) : 0;
}

QImage SmoothlyScaled(const QImage& picture, QSize size) {
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

QImage DevicePart(const QImage& image, const QRectF& logical) {
    const double ratio = image.devicePixelRatio();
    QImage part = image.copy(QRect(static_cast<int>(std::lround(logical.x() * ratio)),
                                   static_cast<int>(std::lround(logical.y() * ratio)),
                                   static_cast<int>(std::lround(logical.width() * ratio)),
                                   static_cast<int>(std::lround(logical.height() * ratio))));
    part.setDevicePixelRatio(1);
    return part;
}
