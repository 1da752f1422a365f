// Calls the delivery routines the way a popup entry does, then keeps running so that it can
// serve the clipboard it now owns:
//   jolvex-test-deliver image|text <path>
// Prints "delivered" once the routine has returned.
#include "app/UnitDef.h"
#include "delivery/UnitClipData.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    PreparePlatformProcess();
    QApplication application(argc, argv);
    PreparePlatformApplication();
    if (argc != 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(0, [&] {
        if (std::strcmp(argv[1], "image") == 0)
            SendImageToChat(path);
        else
            SendTextToChat(path);
        std::printf("delivered\n");
        std::fflush(stdout);
    });
    QTimer::singleShot(60000, &application, &QApplication::quit);
    return application.exec();
}
