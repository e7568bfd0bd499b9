#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <memory>

#include "platform/qt/buttons.h"

namespace obrix {
namespace {

TEST(ScreenButtons, TakeNoFocusAndAreFoundById) {
  QWidget screen;
  auto* inner = new QWidget(&screen);
  QPushButton* go = MakeScreenButton("&Go", 460, inner);
  auto* edit = new QLineEdit(&screen);
  SetControlId(edit, 550);
  EXPECT_EQ(go->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(FindControl(&screen, 460), go);
  EXPECT_EQ(FindControl<QLineEdit>(&screen, 550), edit);
  EXPECT_EQ(FindControl<QPushButton>(&screen, 550), nullptr);  // wrong kind
  EXPECT_EQ(FindControl(&screen, 461), nullptr);
  EXPECT_EQ(ControlId(inner), -1);
}

// The default look is visible: a black frame three pixels wide instead of the thin grey one.
TEST(ScreenButtons, DefaultLookShowsAThickFrame) {
  QPushButton* b = MakeScreenButton("Go", 460, nullptr);
  std::unique_ptr<QPushButton> owner(b);
  b->resize(80, 30);
  auto pixel = [&](int x, int y) { return b->grab().toImage().pixelColor(x, y); };
  EXPECT_FALSE(HasDefaultLook(b));
  const QColor plain = pixel(2, 15);
  SetDefaultLook(b, true);
  EXPECT_TRUE(HasDefaultLook(b));
  EXPECT_EQ(b->property("isDefault").toBool(), true);
  EXPECT_EQ(pixel(2, 15), QColor(Qt::black));
  EXPECT_NE(plain, QColor(Qt::black));
  SetDefaultLook(b, false);
  EXPECT_EQ(pixel(2, 15), plain);
}

}  // namespace
}  // namespace obrix
