// Calls the delivery routines the way the popups' owner does, then keeps running so that it can
// serve the clipboard it now owns:
//   jolvex-test-deliver image|text <path>
// Prints "delivered" once the routine has returned.
#include "app/PasteReport.h"
#include "delivery/Paste.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    preparePlatformProcess();
    QApplication application(argc, argv);
    preparePlatformApplication();
    if (argc != 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    const std::unique_ptr<Platform> platform = createNativePlatform();
    QTimer::singleShot(0, [&] {
        PasteResult result = PasteResult::Pasted;
        if (std::strcmp(argv[1], "image") == 0) {
            result = pastePicture(*platform, path);
            reportPasteResult(result);
        } else {
            result = pasteText(*platform, path);
        }
        std::printf(result == PasteResult::CopiedOnly ? "delivered copied-only\n" : "delivered\n");
        std::fflush(stdout);
    });
    QTimer::singleShot(60000, &application, &QApplication::quit);
    return application.exec();
}
