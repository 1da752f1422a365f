// Draws the program's own pictures into resources/: the bar skin, the entries' gutter picture,
// the 16x16 icon list and the program icon. Run by hand when the pictures change:
//   g++ -std=c++20 -fPIC tools/make-resources.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/mk
//   QT_QPA_PLATFORM=offscreen /tmp/mk resources

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
QColor Mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// The glossy light-blue band: two mid-blue rows on top, a gradient from near white to light
// blue over the upper half, flat light blue below, two darker blue rows at the bottom.
QImage BarMiddle(int width) {
    QImage image(width, 26, QImage::Format_RGB888);
    const QColor midBlue(0x7E, 0xB4, 0xEA), nearWhite(0xF4, 0xF9, 0xFF),
        lightBlue(0xC4, 0xDF, 0xFA), darkBlue(0x4A, 0x8D, 0xD4);
    for (int y = 0; y < 26; ++y) {
        QColor c;
        if (y < 2)
            c = midBlue;
        else if (y < 13)
            c = Mix(nearWhite, lightBlue, (y - 2) / 10.0);
        else if (y < 24)
            c = lightBlue;
        else
            c = darkBlue;
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, c);
    }
    return image;
}

QImage BarCap(bool left) {
    QImage image = BarMiddle(6);
    const QColor edge(0x2F, 0x6F, 0xB8), inner(0x5E, 0x9C, 0xDC);
    const int outer = left ? 0 : 5;
    const int next = left ? 1 : 4;
    for (int y = 0; y < 26; ++y) {
        image.setPixelColor(outer, y, edge);
        image.setPixelColor(next, y, Mix(inner, image.pixelColor(next, y), 0.5));
    }
    return image;
}

// Columns from white at the left to light blue (170, 212, 255) from about column 12 on.
QImage Gutter() {
    QImage image(22, 22, QImage::Format_RGB888);
    for (int x = 0; x < 22; ++x) {
        const QColor c = Mix(Qt::white, QColor(170, 212, 255), std::min(1.0, x / 12.0));
        for (int y = 0; y < 22; ++y)
            image.setPixelColor(x, y, Mix(c, Qt::white, 0.04 * (y % 2)));
    }
    return image;
}

void DrawPage(QPainter& p) {
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::white);
    p.drawRect(2, 0, 11, 15);
    p.setPen(QColor(0x20, 0x50, 0xC0));
    for (int y = 3; y <= 12; y += 3)
        p.drawLine(4, y, 11, y);
}

void DrawFolder(QPainter& p) {
    p.setPen(QColor(0xA0, 0x78, 0x10));
    p.setBrush(QColor(0xF0, 0xC8, 0x40));
    p.drawRect(0, 4, 15, 10);
    p.drawRect(1, 2, 6, 2);
    p.setPen(QColor(0xFF, 0xE8, 0x90));
    p.drawLine(1, 5, 14, 5);
}

void DrawCheck(QPainter& p) {
    QPen pen(Qt::black, 2);
    p.setPen(pen);
    p.drawLine(3, 8, 6, 11);
    p.drawLine(6, 11, 12, 4);
}

void DrawArrow(QPainter& p) {
    QPainterPath path;
    path.moveTo(6, 4);
    path.lineTo(10, 8);
    path.lineTo(6, 12);
    path.closeSubpath();
    p.fillPath(path, Qt::black);
}

// One strip of 19 icons of 16x16, transparent where nothing is drawn. Only 4 (page),
// 6 (folder), 8 (check mark) and 9 (arrow) are drawn by the program.
QImage IconList() {
    QImage strip(19 * 16, 16, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    const std::pair<int, void (*)(QPainter&)> icons[] = {
        {4, DrawPage}, {6, DrawFolder}, {8, DrawCheck}, {9, DrawArrow}};
    for (const auto& [index, draw] : icons) {
        p.save();
        p.translate(index * 16, 0);
        draw(p);
        p.restore();
    }
    return strip;
}

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
    bool ok = BarCap(true).save(out + "/skin/bar_left.png") &&
              BarMiddle(348).save(out + "/skin/bar_middle.png") &&
              BarCap(false).save(out + "/skin/bar_right.png") &&
              Gutter().save(out + "/skin/menu_left_bar.png") &&
              IconList().save(out + "/icons/icon_list.png") &&
              ProgramIcon().save(out + "/icons/jolvex.png");
    return ok ? 0 : 1;
}
