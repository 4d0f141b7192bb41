#include "profiles/profile_list.h"

#include <gtest/gtest.h>

namespace tellumo {
namespace {

TEST(ProfileList, StartUpLayout) {
  GridModel& g = SEV_Grid();
  g.setRows(7);
  g.setTextMatrix(3, 1, "stale");
  LayOutProfileList();
  EXPECT_EQ(g.Rows(), 2);
  EXPECT_EQ(g.Cols(), 8);
  const char* headings[] = {"", "File name", "X", "Y", "Z", "Order", "Distance", "Max. depth"};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(g.TextMatrix(0, c), headings[c]) << c;
  EXPECT_EQ(g.TextMatrix(1, 0), "1");
  EXPECT_EQ(g.ColWidth(1), 3356);
  EXPECT_EQ(g.ColWidth(7), 960);
  EXPECT_EQ(g.RowHeight(1), 200);
  EXPECT_TRUE(g.Redraw());
}

TEST(ProfileList, PaperSizeInWholeMillimetres) {
  EXPECT_EQ(PaperSizeCaption(kA4HeightTwips, kA4WidthTwips), "Paper size=  297 /  210");
  // Halves go to the even millimetre.
  EXPECT_EQ(PaperSizeCaption(100.5 * 56.7, 101.5 * 56.7), "Paper size=  100 /  102");
}

}  // namespace
}  // namespace tellumo
