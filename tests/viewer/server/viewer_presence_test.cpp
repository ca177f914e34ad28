#include "viewer/server/viewer_presence.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

using namespace std::chrono_literals;
using Clock = ViewerPresence::Clock;

TEST(ViewerPresence, AWindowCountsUntilItGoesOrFallsSilent)
{
    ViewerPresence presence(30s);
    EXPECT_FALSE(presence.everShown());
    EXPECT_FALSE(presence.viewerOpen()); // none ever shown: the program may end at once
    presence.seen("viewer", false);
    presence.seen("thumbnails", false);
    EXPECT_TRUE(presence.everShown());
    EXPECT_EQ(presence.openWindows(), 2u);
    presence.seen("thumbnails", true);
    EXPECT_EQ(presence.openWindows(), 1u);
    // A window that has said nothing for the patience counts as gone.
    EXPECT_TRUE(presence.viewerOpen(Clock::now() + 29s));
    EXPECT_FALSE(presence.viewerOpen(Clock::now() + 31s));
    // The last window went: a reload may come back within the grace (5 s,
    // or a third of the patience when less), then the viewer is closed.
    presence.seen("viewer", true);
    EXPECT_EQ(presence.openWindows(), 0u);
    EXPECT_TRUE(presence.viewerOpen());
    EXPECT_FALSE(presence.viewerOpen(Clock::now() + 6s));
    ViewerPresence brief(3s);
    brief.seen("viewer", false);
    brief.seen("viewer", true);
    EXPECT_FALSE(brief.viewerOpen(Clock::now() + 1100ms));
}

TEST(ViewerPresence, MadeUpWindowsCannotGrowWithoutEnd)
{
    ViewerPresence presence(60s);
    for (int i = 0; i < 10000; ++i) {
        presence.seen("window" + std::to_string(i), false);
    }
    EXPECT_EQ(presence.openWindows(), 256u);
    EXPECT_EQ(presence.indexRequests(), 0u);
    presence.indexAsked();
    EXPECT_EQ(presence.indexRequests(), 1u);
}

} // namespace
} // namespace vimbrel
