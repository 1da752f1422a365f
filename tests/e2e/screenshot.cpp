// Saves a picture of the X screen (or of a rectangle of it) for reviewers and for tests that
// look at pixels:  jolvex-test-screenshot OUT.png [X Y W H]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 6)
        return 2;
    int x = 0, y = 0, w = -1, h = -1;
    if (argc == 6) {
        x = std::atoi(argv[2]);
        y = std::atoi(argv[3]);
        w = std::atoi(argv[4]);
        h = std::atoi(argv[5]);
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, x, y, w, h);
    return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
