#include "OffscreenScreens.h"

// The widget tests of this program run on Qt's offscreen plugin with two screens, the primary
// one not at (0, 0) and a second monitor to its right.
int main(int argc, char** argv) {
    return RunTestsOnOffscreenScreens(argc, argv, R"({"screens": [
        {"name": "primary", "x": 1000, "y": 300, "width": 1024, "height": 768,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1},
        {"name": "right", "x": 2024, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1}]})");
}
