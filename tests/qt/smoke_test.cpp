#include <gtest/gtest.h>
#include <QWidget>

TEST(UiSmoke, WidgetUnderOffscreen) {
  QWidget w;
  w.resize(10, 10);
  EXPECT_EQ(w.width(), 10);
}
