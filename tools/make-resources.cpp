// Draws the program's window icon into resources/ (the bar skin, the rows' gutter and the
// small icons are painted by the program itself, at the screen's ratio). Run by hand when the
// picture changes:
//   g++ -std=c++20 -fPIC tools/make-resources.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/mk
//   QT_QPA_PLATFORM=offscreen /tmp/mk resources

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {
QImage ProgramIcon() {
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x2F, 0x6F, 0xB8), 3));
    p.setBrush(QColor(0xFF, 0xD8, 0x40));
    p.drawEllipse(4, 4, 56, 56);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.setPen(Qt::NoPen);
    p.drawEllipse(20, 20, 7, 10);
    p.drawEllipse(37, 20, 7, 10);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(16, 18, 32, 30, 200 * 16, 140 * 16);
    return image;
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    return ProgramIcon().save(out + "/icons/jolvex.png") ? 0 : 1;
}
