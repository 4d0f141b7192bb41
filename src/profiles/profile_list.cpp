#include "profiles/profile_list.h"

#include "platform/vb.h"

namespace tellumo {

GridModel& SEV_Grid() {
  static GridModel grid;
  return grid;
}

void LayOutProfileList() {
  GridModel& g = SEV_Grid();
  g.setRedraw(false);
  g.setRows(2);
  g.setCols(8);
  g.setRowHeight(0, 200);
  g.setRowHeight(1, 200);
  g.setColWidth(0, 300);
  g.setColWidth(1, 3356);
  for (int c = 2; c <= 7; ++c) g.setColWidth(c, 960);
  g.setTextMatrix(1, 0, QStringLiteral("1"));
  const char* headings[] = {"", "File name", "X", "Y", "Z", "Order", "Distance", "Max. depth"};
  for (int c = 0; c < 8; ++c) g.setTextMatrix(0, c, QString::fromLatin1(headings[c]));
  g.setRedraw(true);
}

QString PaperSizeCaption(double pageHeightTwips, double pageWidthTwips) {
  return QStringLiteral("Paper size= ") + vb::Str(vb::CInt(pageHeightTwips / 56.7)) + QStringLiteral(" / ") +
         vb::Str(vb::CInt(pageWidthTwips / 56.7));
}

}  // namespace tellumo
