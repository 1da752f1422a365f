#include "ui/BarNotice.h"
#include "platform/Platform.h"
#include "ui/ScreenMetrics.h"

#include <gtest/gtest.h>

namespace {
// The note sits just below the bar, or just above it when the bar is at the bottom, and never
// leaves the screen sideways.
TEST(BarNotice, SitsBesideTheBarOnTheScreen) {
    const std::unique_ptr<Platform> platform = createNativePlatform();
    BarNotice notice(*platform);
    const QRect screen = screenRect();
    struct Case {
        const char* name;
        QRect bar;
    };
    const Case cases[] = {
        {"top", QRect(screen.left() + 300, screen.top(), 90, 26)},
        {"bottom", QRect(screen.left() + 300, screen.bottom() - 25, 90, 26)},
        {"right edge", QRect(screen.right() - 60, screen.top() + 100, 60, 26)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        notice.showBeside(c.bar);
        const QRect shown = notice.geometry();
        EXPECT_TRUE(notice.isVisible());
        EXPECT_TRUE(screen.contains(shown));
        EXPECT_FALSE(shown.intersects(c.bar));
        EXPECT_LE(std::min(std::abs(shown.top() - c.bar.bottom()),
                           std::abs(c.bar.top() - shown.bottom())),
                  4);
        notice.hide();
    }
}
} // namespace
