// Stands in for a chat program's input box in the end-to-end tests. Reports on its standard
// output, one line each:
//   focus-in / focus-lost          the window gained or lost the keyboard focus
//   paste-text <text>              pasted plain text (line breaks shown as \n)
//   paste-image <width>x<height>   a pasted picture
//   paste-uri <url>                a pasted file list entry
//   pressed                        a mouse button went down in the window
//   typed <text>                   a key that typed text (a paste gone wrong types a "v")
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextEdit>
#include <QUrl>

#include <cstdio>

namespace {
void Report(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class ChatInput : public QTextEdit {
protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (source->hasImage()) {
            const QImage image = qvariant_cast<QImage>(source->imageData());
            Report(QString("paste-image %1x%2").arg(image.width()).arg(image.height()));
        }
        if (source->hasFormat("text/uri-list"))
            for (const QByteArray& line : source->data("text/uri-list").split('\n'))
                if (!line.trimmed().isEmpty())
                    Report("paste-uri " + QString::fromUtf8(line.trimmed()));
        if (source->hasText() && !source->hasFormat("text/uri-list"))
            Report("paste-text " + source->text().replace("\r", "\\r").replace("\n", "\\n"));
        QTextEdit::insertFromMimeData(source);
    }
    bool canInsertFromMimeData(const QMimeData*) const override { return true; }
    void mousePressEvent(QMouseEvent* event) override {
        Report("pressed");
        QTextEdit::mousePressEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (!event->text().isEmpty() && event->text().at(0).isPrint())
            Report("typed " + event->text());
        QTextEdit::keyPressEvent(event);
    }
};
} // namespace

int main(int argc, char** argv) {
    // --wayland: a native Wayland window, maximized (a Wayland client cannot place itself).
    const bool wayland = argc > 1 && qstrcmp(argv[1], "--wayland") == 0;
    qputenv("QT_QPA_PLATFORM", wayland ? "wayland" : "xcb");
    QApplication application(argc, argv);
    ChatInput input;
    input.setWindowTitle("Jolvex test chat");
    input.setGeometry(200, 300, 500, 300);
    QObject::connect(&application, &QApplication::focusChanged,
                     [&](QWidget*, QWidget* now) { Report(now ? "focus-in" : "focus-lost"); });
    if (wayland)
        input.showMaximized();
    else
        input.show();
    input.activateWindow();
    return application.exec();
}
