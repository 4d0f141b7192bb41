// The toolbar's pictures: our own drawings load (the svg icon engine is
// there at run time), every key of the window shows a picture, and no two
// keys look alike.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <iostream>
#include <vector>

#include "mainwindow/sev_window.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

const char* const kKeys[] = {"open", "save", "bilog", "computation", "Help", "Clip_Bd", "stop"};
const char* const kDrawings[] = {"open", "save", "bilog", "computation", "help", "copy", "exit"};

// The icon at the toolbar's size, as the button paints it.
QImage Picture(const QIcon& icon) {
  return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Pixels a person sees: an empty or nearly empty picture has few.
int Drawn(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 64 ? 1 : 0;
  return n;
}

// Each picture is drawn and differs from every other one.
void ExpectDrawnAndDistinct(const std::vector<QImage>& pictures, const char* const names[]) {
  for (size_t i = 0; i < pictures.size(); ++i) {
    SCOPED_TRACE(names[i]);
    ASSERT_FALSE(pictures[i].isNull());
    EXPECT_EQ(pictures[i].size(), QSize(16, 16));
    EXPECT_GE(Drawn(pictures[i]), 40);  // of 256
    for (size_t j = 0; j < i; ++j) EXPECT_NE(pictures[i], pictures[j]) << "looks like " << names[j];
  }
}

class ToolbarPicturesTest : public test::StateTest {};

TEST_F(ToolbarPicturesTest, OurOwnDrawingsLoad) {
  std::vector<QImage> pictures;
  for (const char* name : kDrawings) {
    const QIcon icon(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(name)));
    EXPECT_FALSE(icon.isNull()) << name;
    pictures.push_back(Picture(icon));
  }
  ExpectDrawnAndDistinct(pictures, kDrawings);
}

TEST_F(ToolbarPicturesTest, EveryKeyShowsAPictureOfItsOwn) {
  SEV w;
  EXPECT_EQ(w.Toolbar1->iconSize(), QSize(16, 16));
  std::vector<QImage> pictures;
  for (const char* key : kKeys) {
    const QAction* a = w.ToolbarButton(QString::fromLatin1(key));
    ASSERT_NE(a, nullptr) << key;
    EXPECT_FALSE(a->icon().isNull()) << key;
    pictures.push_back(Picture(a->icon()));
  }
  ExpectDrawnAndDistinct(pictures, kKeys);

  // The pictures four times enlarged, pixel for pixel, in the toolbar's
  // order, for a person to look at; written when TELLUMO_SCREENSHOT_DIR
  // names a folder.
  if (!qEnvironmentVariableIsSet("TELLUMO_SCREENSHOT_DIR")) return;
  constexpr int kScale = 4, kGap = 8;
  QImage sheet(int(pictures.size()) * (16 * kScale + kGap) + kGap, 16 * kScale + 2 * kGap, QImage::Format_ARGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  for (size_t i = 0; i < pictures.size(); ++i)
    p.drawImage(QPoint(kGap + int(i) * (16 * kScale + kGap), kGap), pictures[i].scaled(16 * kScale, 16 * kScale));
  p.end();
  const QString path = QDir(qEnvironmentVariable("TELLUMO_SCREENSHOT_DIR")).filePath(QStringLiteral("toolbar.png"));
  ASSERT_TRUE(sheet.save(path, "PNG"));
  std::cout << "toolbar pictures written to " << path.toStdString() << "\n";
}

}  // namespace
}  // namespace tellumo
