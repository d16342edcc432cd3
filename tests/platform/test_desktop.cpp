#include "platform/desktop.h"

#include <gtest/gtest.h>

using namespace zarno;

TEST(Desktop, WindowPositionIsAcceptedWhenACaptionEndLiesOnAMonitor)
{
    const QList<QRect> monitors { QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024) };
    struct Case
    {
        QRect window;
        bool accepted;
    };
    const Case cases[] = {
        { QRect(100, 100, 800, 600), true },
        { QRect(-750, 100, 800, 600), false }, // right end minus 80 is left of the screen
        { QRect(-700, 100, 800, 600), true }, // right end minus 80 at x = 20
        { QRect(3150, 100, 800, 600), false }, // left end plus 80 beyond the second monitor
        { QRect(3100, 100, 800, 600), true },
        { QRect(100, -20, 800, 600), false }, // half a caption below the top is still above
        { QRect(100, -5, 800, 600), true },
        { QRect(100, 1065, 800, 600), true }, // only the caption needs to be reachable
        { QRect(100, 1075, 800, 600), false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(TDesktop::isPositionOnMonitors(monitors, c.window, 20, 80), c.accepted)
            << c.window.x() << "," << c.window.y();
}

TEST(Desktop, ScreensAreReported)
{
    const QList<QRect> areas = TDesktop::workAreas();
    ASSERT_FALSE(areas.isEmpty());
    const QSize largest = TDesktop::largestMonitorSize();
    EXPECT_GT(largest.width(), 0);
    for (const QRect &a : areas) {
        EXPECT_LE(a.width(), largest.width());
        EXPECT_LE(a.height(), largest.height());
    }
    EXPECT_EQ(TDesktop::primaryScreenSize().isEmpty(), false);
}
