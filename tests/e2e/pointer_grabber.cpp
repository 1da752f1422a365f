// Holds an active pointer grab on the root window, as some programs do while they run a menu
// or a drag, until it is killed:
//   jolvex-test-pointer-grabber
// Prints "grabbed" once the grab holds.
#include <X11/Xlib.h>

#include <cstdio>
#include <unistd.h>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const Window root = DefaultRootWindow(display);
    if (XGrabPointer(display, root, False, ButtonPressMask | ButtonReleaseMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime) != GrabSuccess)
        return 3;
    XSync(display, False);
    std::printf("grabbed\n");
    std::fflush(stdout);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        usleep(10000);
    }
}
