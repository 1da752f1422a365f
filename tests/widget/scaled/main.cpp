#include "OffscreenScreens.h"

// The widget tests of this program run on Qt's offscreen plugin with three screens side by
// side, of device pixel ratios 2 (the primary one: a laptop's panel), 1.5 and 1.
int main(int argc, char** argv) {
    return RunTestsOnOffscreenScreens(argc, argv, R"({"screens": [
        {"name": "ratio-2", "x": 0, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 2},
        {"name": "ratio-1.5", "x": 1000, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1.5},
        {"name": "ratio-1", "x": 2000, "y": 0, "width": 1000, "height": 700,
         "logicalDpi": 96, "logicalBpp": 32, "dpr": 1}]})");
}
