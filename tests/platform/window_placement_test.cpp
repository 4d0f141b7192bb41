// A window the program places stands where it is asked to, moved only as far
// as needed to lie wholly on the screen's free area.
#include <gtest/gtest.h>

#include "platform/window_placement.h"

namespace tellumo {
namespace {

TEST(WindowPlacement, MovedOnlyAsFarAsTheScreenNeeds) {
  // The model window with its frame: 3850 x 6000 twips and a title bar.
  const QSize frame(257, 430);
  const struct {
    const char* name;
    QPoint wanted;
    QRect screen;
    QRect expected;
  } cases[] = {
      {"room enough", {653, 147}, {0, 0, 1600, 1000}, {653, 147, 257, 430}},
      {"past the right edge", {1500, 147}, {0, 0, 1600, 1000}, {1343, 147, 257, 430}},
      {"past the bottom", {653, 800}, {0, 0, 1600, 1000}, {653, 570, 257, 430}},
      {"above and left of the screen", {-40, -10}, {0, 0, 1600, 1000}, {0, 0, 257, 430}},
      {"a panel at the top and the left", {10, 5}, {48, 30, 1552, 970}, {48, 30, 257, 430}},
      {"the second of two screens", {2400, 900}, {1600, 0, 1920, 1080}, {2400, 650, 257, 430}},
      // 1600 x 1000 pixels at a scale of 2: 800 x 500 to the program.
      {"a large scale", {653 + 300, 147 + 100}, {0, 0, 800, 500}, {543, 70, 257, 430}},
      // At a scale of 3 the window is higher than the screen: it starts at
      // the top and is cut to the screen's height.
      {"a screen lower than the window", {653, 147}, {0, 0, 533, 333}, {276, 0, 257, 333}},
      {"a screen narrower than the window", {653, 147}, {0, 0, 200, 1000}, {0, 147, 200, 430}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QRect placed = PlaceOnScreen(c.wanted, frame, c.screen);
    EXPECT_EQ(placed, c.expected);
    EXPECT_TRUE(c.screen.contains(placed)) << "wholly on the screen";
  }
  // No screen known: as asked.
  EXPECT_EQ(PlaceOnScreen({653, 147}, frame, QRect()), QRect(653, 147, 257, 430));
}

}  // namespace
}  // namespace tellumo
