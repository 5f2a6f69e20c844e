// Where the preview player opens beside the sync dialog: never over it, inside the
// screen, on the side with the most room.

#include <gtest/gtest.h>

#include <QRect>

#include "dialogs/player_place.h"

namespace transcoda::testing {
namespace {

TEST(PlayerPlace, BesideTheDialogNeverOverIt) {
    struct Case {
        const char* what;
        QRect screen;
        QRect dialog;   // its frame
        const char* side;  // "right", "below", "left", "above", or "" when no room
    };
    const Case cases[] = {
        // Centred on a 1366x768 screen: more room below (1366 x 238) than beside (362 x 768).
        {"centred 1366x768", {0, 0, 1366, 768}, {370, 232, 626, 304}, "below"},
        {"centred 1920x1080", {0, 0, 1920, 1080}, {647, 388, 626, 304}, "below"},
        {"tall, at the left", {0, 0, 1366, 768}, {0, 100, 626, 600}, "right"},
        {"tall, at the right", {0, 0, 1366, 768}, {740, 100, 626, 600}, "left"},
        {"at the bottom", {0, 0, 1366, 768}, {370, 464, 626, 304}, "above"},
        {"second screen, panel above", {1366, 30, 1280, 994}, {1693, 375, 626, 304}, "below"},
        {"filling the screen", {0, 0, 640, 320}, {0, 0, 640, 320}, ""},
    };
    for (const Case& c : cases) {
        const QRect area = PlayerArea(c.dialog, c.screen);
        const std::string side = area.isEmpty()                ? ""
                                 : area.left() > c.dialog.right() ? "right"
                                 : area.top() > c.dialog.bottom() ? "below"
                                 : area.right() < c.dialog.left() ? "left"
                                                                  : "above";
        EXPECT_EQ(side, c.side) << c.what;
        if (area.isEmpty()) {
            EXPECT_EQ(PlayerAreaText(area), "") << c.what;
            continue;
        }
        EXPECT_FALSE(area.intersects(c.dialog)) << c.what;
        EXPECT_TRUE(c.screen.contains(area)) << c.what;
    }
}

TEST(PlayerPlace, TextLeavesRoomForTheTitleBarAndBorders) {
    EXPECT_EQ(PlayerAreaText(QRect(0, 544, 1366, 224)), "1358x188+0+544");
}

}  // namespace
}  // namespace transcoda::testing
