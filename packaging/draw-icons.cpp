// Draws the program's icon as PNG files for the hicolor theme, the same shapes as jolvex.svg:
//   jolvex-draw-icons <folder> <size>...   writes <folder>/<size>x<size>/apps/jolvex.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {
// The face on a 64-unit square, scaled to `size` pixels.
QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(QPen(QColor(0x2F, 0x6F, 0xB8), 3));
    painter.setBrush(QColor(0xFF, 0xD8, 0x40));
    painter.drawEllipse(QPointF(32, 32), 28, 28);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x30, 0x30, 0x30));
    painter.drawEllipse(QPointF(23.5, 25), 3.5, 5);
    painter.drawEllipse(QPointF(40.5, 25), 3.5, 5);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    QPainterPath smile;
    smile.arcMoveTo(QRectF(16, 18, 32, 30), 200);
    smile.arcTo(QRectF(16, 18, 32, 30), 200, 140);
    painter.drawPath(smile);
    return image;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (size <= 0 || !QDir().mkpath(apps) || !DrawIcon(size).save(apps + "/jolvex.png")) {
            std::fprintf(stderr, "%s: cannot write the %s-pixel icon\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
