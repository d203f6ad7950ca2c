// Where rendered forms put things: static captions beside their controls, and the window
// manager's record of which windows are MDI children.

#include <gtest/gtest.h>

#include "common/error_number.h"
#include "form_layout.h"
#include "qt_window_manager.h"

namespace tarvex::desktop {
namespace {

TEST(StaticLabel, GoesLeftElseAboveClearOfOtherControls) {
    const struct {
        const char* what;
        QRect control;
        std::vector<QRect> taken;
        QRect expected;
    } cases[] = {{"room on the left", {100, 50, 40, 20}, {}, {44, 53, 50, 14}},
                 {"left edge too close", {30, 50, 200, 20}, {}, {30, 35, 50, 14}},
                 {"above left taken", {30, 50, 200, 20}, {{30, 30, 20, 15}}, {180, 35, 50, 14}},
                 {"nothing fits", {30, 50, 200, 20}, {{30, 30, 200, 15}}, {0, 53, 24, 14}}};
    for (const auto& p : cases)
        EXPECT_EQ(placeStaticLabel(p.control, QSize(50, 14), QRect(0, 0, 400, 300), p.taken),
                  p.expected)
            << p.what;
}

TEST(QtWindowManager, RecordsMdiChildrenAndRefusesUnknownWindows) {
    QtWindowManager manager(0x100, nullptr);
    EXPECT_EQ(testing::errorNumber([&] { manager.setExtendedStyle(0x1004, 0x140); }), 5);
    EXPECT_EQ(testing::errorNumber([&] { manager.setParent(0x1004, 0x999); }), 5);
    EXPECT_EQ(testing::errorNumber([&] { manager.setParent(0, 0x100); }), 5);
    manager.setParent(0x1004, 0x100);
    manager.setExtendedStyle(0x1004, 0x140);
    manager.setParent(0x1008, 0x1004);
    EXPECT_TRUE(manager.isMdiChild(0x1004));
    EXPECT_FALSE(manager.isMdiChild(0x1008));
    EXPECT_EQ(manager.extendedStyle(0x1004), 0x140);
}

}  // namespace
}  // namespace tarvex::desktop
