// Without a Latin font Qt draws empty boxes where every label should be, and
// no drawing test would notice: make the missing font a failure of its own.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

namespace {

TEST(Fonts, ALatinFontIsInstalled) {
  QStringList families = QFontDatabase::families(QFontDatabase::Latin);
  EXPECT_FALSE(families.isEmpty()) << "install fonts-dejavu-core and fonts-liberation";
  QFont arial("Arial", 8);
  QFontMetricsF m(arial);
  EXPECT_GT(m.horizontalAdvance("10000"), 0.0);
  EXPECT_TRUE(m.inFont(QChar('0')));
}

TEST(Fonts, ArialMapsToAMetricCompatibleFace) {
  QFontInfo info(QFont("Arial", 8));
  // fontconfig maps Arial to Liberation Sans, whose widths are Arial's, so
  // labels keep their places.
  EXPECT_TRUE(info.family().contains("Liberation Sans") || info.family() == "Arial") << info.family().toStdString();
}

}  // namespace
