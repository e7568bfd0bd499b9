#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "settings/settings.h"
#include "state/palette.h"

namespace obrix {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

constexpr Colour kRed = Rgb(255, 0, 0);
constexpr Colour kBlue = Rgb(0, 0, 255);

// Pixels that are not white.
PixelSet Inked(const Canvas& c) {
  PixelSet s;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.GetPixel(x, y) != kWhite) s.insert({x, y});
  return s;
}

PixelSet Pixels(std::initializer_list<std::pair<int, int>> list) { return PixelSet(list); }

// The pixels of an inclusive box.
PixelSet Box(int x0, int y0, int x1, int y1) {
  PixelSet s;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) s.insert({x, y});
  return s;
}

std::string Describe(const PixelSet& s) {
  std::string out;
  for (const auto& [x, y] : s) out += "(" + std::to_string(x) + "," + std::to_string(y) + ")";
  return out;
}

TEST(CanvasColour, PixelLayoutIsRgb32) {
  EXPECT_EQ(ToPixel(Rgb(0x12, 0x34, 0x56)), 0xFF123456u);
  EXPECT_EQ(FromPixel(0xFF123456u), Rgb(0x12, 0x34, 0x56));
  Canvas c(2, 1);
  c.SetPixel(1, 0, Rgb(1, 2, 3));
  EXPECT_EQ(c.bits()[1], 0xFF010203u);
  EXPECT_EQ(c.bits()[0], 0xFFFFFFFFu);
  EXPECT_EQ(c.bytesPerLine(), 8);
}

TEST(CanvasLine, PixelsOfOneSegment) {
  struct Case {
    const char* name;
    Point from, to;
    int width;
    PixelSet expected;
  };
  const Case cases[] = {
      {"horizontal excludes last", {1, 1}, {5, 1}, 1, Pixels({{1, 1}, {2, 1}, {3, 1}, {4, 1}})},
      {"upward excludes last", {3, 6}, {3, 2}, 1, Pixels({{3, 6}, {3, 5}, {3, 4}, {3, 3}})},
      {"diagonal", {0, 0}, {3, 3}, 1, Pixels({{0, 0}, {1, 1}, {2, 2}})},
      {"leftward diagonal", {5, 0}, {2, 3}, 1, Pixels({{5, 0}, {4, 1}, {3, 2}})},
      {"shallow, halves toward start", {0, 0}, {4, 2}, 1, Pixels({{0, 0}, {1, 0}, {2, 1}, {3, 1}})},
      {"shallow reversed", {4, 2}, {0, 0}, 1, Pixels({{4, 2}, {3, 2}, {2, 1}, {1, 1}})},
      {"steep", {0, 0}, {1, 3}, 1, Pixels({{0, 0}, {0, 1}, {1, 2}})},
      {"zero length, thin", {4, 4}, {4, 4}, 1, {}},
      {"zero length, 3 wide: a dot", {4, 4}, {4, 4}, 3, Box(3, 3, 5, 5)},
      {"2 wide covers up-left, end included", {1, 5}, {4, 5}, 2, Box(0, 4, 4, 5)},
      {"3 wide vertical", {6, 2}, {6, 4}, 3, Box(5, 1, 7, 5)},
  };
  for (const Case& c : cases) {
    Canvas canvas(12, 12);
    canvas.SelectPen(SolidPen(c.width, kBlack));
    canvas.MoveTo(c.from);
    canvas.LineTo(c.to);
    EXPECT_EQ(Inked(canvas), c.expected) << c.name << ": " << Describe(Inked(canvas));
    EXPECT_EQ(canvas.position(), c.to) << c.name;
  }
}

TEST(CanvasLine, WidePenFootprintIsRound) {
  Canvas canvas(12, 12);
  canvas.SelectPen(SolidPen(5, kBlack));
  canvas.MoveTo(5, 5);
  canvas.LineTo(5, 5);
  PixelSet expected = Box(3, 3, 7, 7);
  for (auto corner : {std::pair{3, 3}, {7, 3}, {3, 7}, {7, 7}}) expected.erase(corner);
  EXPECT_EQ(Inked(canvas), expected) << Describe(Inked(canvas));
}

TEST(CanvasLine, PolylineJoinsAndNullPenDrawsNothing) {
  Canvas canvas(8, 8);
  canvas.SelectPen(SolidPen(1, kBlack));
  canvas.Polyline({{1, 1}, {4, 1}, {4, 4}});
  EXPECT_EQ(Inked(canvas), Pixels({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}));
  canvas.Clear();
  canvas.SelectPen(NullPen());
  canvas.MoveTo(0, 0);
  canvas.LineTo(7, 7);
  EXPECT_TRUE(Inked(canvas).empty());
}

// Rectangles: the outline with the pen, the inside with the brush, right and bottom edges exclusive.
TEST(CanvasRectangle, OutlineFillAndExclusiveEdges) {
  struct Case {
    const char* name;
    Rect box;
    Pen pen;
    Brush brush;
    PixelSet pen_pixels, brush_pixels;
  };
  PixelSet ring = Box(2, 2, 6, 5);
  for (const auto& p : Box(3, 3, 5, 4)) ring.erase(p);
  PixelSet thick = Box(2, 2, 7, 7);
  for (const auto& p : Box(4, 4, 5, 5)) thick.erase(p);
  const Case cases[] = {
      {"1 px pen", {2, 2, 7, 6}, SolidPen(1, kBlack), SolidBrush(kRed), ring, Box(3, 3, 5, 4)},
      {"corners reversed", {7, 6, 2, 2}, SolidPen(1, kBlack), SolidBrush(kRed), ring, Box(3, 3, 5, 4)},
      {"hollow brush", {2, 2, 7, 6}, SolidPen(1, kBlack), HollowBrush(), ring, {}},
      {"null pen: brush covers the box", {2, 2, 7, 6}, NullPen(), SolidBrush(kRed), {}, Box(2, 2, 6, 5)},
      {"2 px pen grows inwards", {2, 2, 8, 8}, SolidPen(2, kBlack), SolidBrush(kRed), thick, Box(4, 4, 5, 5)},
      {"empty box", {3, 3, 3, 8}, SolidPen(1, kBlack), SolidBrush(kRed), {}, {}},
  };
  for (const Case& c : cases) {
    Canvas canvas(10, 10);
    canvas.SelectPen(c.pen);
    canvas.SelectBrush(c.brush);
    canvas.Rectangle(c.box);
    PixelSet pen, brush;
    for (const auto& [x, y] : Inked(canvas)) (canvas.GetPixel(x, y) == kBlack ? pen : brush).insert({x, y});
    EXPECT_EQ(pen, c.pen_pixels) << c.name << ": " << Describe(pen);
    EXPECT_EQ(brush, c.brush_pixels) << c.name << ": " << Describe(brush);
  }
}

TEST(CanvasRectangle, FillRectCoversBoxOnly) {
  Canvas canvas(10, 10);
  canvas.FillRect({7, 6, 2, 2}, kRed);
  EXPECT_EQ(Inked(canvas), Box(2, 2, 6, 5));
  canvas.FillRect({0, 0, 10, 10}, HollowBrush());
  EXPECT_EQ(Inked(canvas), Box(2, 2, 6, 5));
}

TEST(CanvasShapes, EllipseFitsItsBoxAndIsSymmetric) {
  struct Case { Rect box; };
  const Case cases[] = {{{7, 7, 13, 13}}, {{2, 3, 17, 10}}, {{4, 4, 6, 6}}, {{1, 1, 20, 20}}};
  for (const Case& c : cases) {
    Canvas canvas(24, 24);
    canvas.SelectPen(SolidPen(1, kBlack));
    canvas.SelectBrush(SolidBrush(kRed));
    canvas.Ellipse(c.box);
    const PixelSet ink = Inked(canvas);
    int minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (const auto& [x, y] : ink) {
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
      EXPECT_TRUE(ink.count({c.box.left + c.box.right - 1 - x, y})) << "mirror x of " << x << "," << y;
      EXPECT_TRUE(ink.count({x, c.box.top + c.box.bottom - 1 - y})) << "mirror y of " << x << "," << y;
    }
    EXPECT_EQ(minX, c.box.left);
    EXPECT_EQ(maxX, c.box.right - 1);
    EXPECT_EQ(minY, c.box.top);
    EXPECT_EQ(maxY, c.box.bottom - 1);
    const int w = c.box.right - c.box.left, h = c.box.bottom - c.box.top;
    if (w > 3 && h > 3) {
      EXPECT_EQ(canvas.GetPixel(c.box.left, c.box.top), kWhite) << "corner";
      EXPECT_EQ(canvas.GetPixel(c.box.left, c.box.top + h / 2), kBlack) << "left edge is outline";
      EXPECT_EQ(canvas.GetPixel(c.box.left + w / 2, c.box.top + h / 2), kRed) << "centre is brush";
    }
  }
}

TEST(CanvasShapes, RoundRectRoundsOnlyTheCorners) {
  Canvas canvas(24, 16);
  canvas.SelectPen(SolidPen(1, kBlack));
  canvas.SelectBrush(SolidBrush(kRed));
  canvas.RoundRect(2, 2, 22, 14, 10, 10);
  EXPECT_EQ(canvas.GetPixel(2, 2), kWhite);
  EXPECT_EQ(canvas.GetPixel(2, 3), kWhite);
  EXPECT_EQ(canvas.GetPixel(3, 2), kWhite);
  EXPECT_EQ(canvas.GetPixel(3, 3), kBlack);    // on the corner arc
  EXPECT_EQ(canvas.GetPixel(12, 2), kBlack);   // straight top edge
  EXPECT_EQ(canvas.GetPixel(2, 8), kBlack);    // straight left edge
  EXPECT_EQ(canvas.GetPixel(21, 8), kBlack);   // right edge, last column inside
  EXPECT_EQ(canvas.GetPixel(22, 8), kWhite);
  EXPECT_EQ(canvas.GetPixel(12, 8), kRed);

  Canvas square(24, 16), rect(24, 16);
  for (Canvas* c : {&square, &rect}) {
    c->SelectPen(SolidPen(1, kBlack));
    c->SelectBrush(SolidBrush(kRed));
  }
  square.RoundRect(2, 2, 22, 14, 0, 0);
  rect.Rectangle(2, 2, 22, 14);
  EXPECT_EQ(Inked(square), Inked(rect));
}

TEST(CanvasShapes, TriangleFilledInsideItsOutline) {
  const int x = 8, y = 8, h = 3;
  Canvas canvas(16, 16);
  canvas.SelectPen(SolidPen(1, kBlack));
  canvas.SelectBrush(SolidBrush(kRed));
  canvas.Polygon({{x - h, y + h}, {x, y - h}, {x + h, y + h}});
  for (auto v : {std::pair{x - h, y + h}, {x, y - h}, {x + h, y + h}})
    EXPECT_EQ(canvas.GetPixel(v.first, v.second), kBlack) << v.first << "," << v.second;
  EXPECT_EQ(canvas.GetPixel(x, y + 1), kRed);
  for (const auto& [px, py] : Inked(canvas)) {
    EXPECT_GE(px, x - h);
    EXPECT_LE(px, x + h);
    EXPECT_GE(py, y - h);
    EXPECT_LE(py, y + h);
  }
  // The base row is the outline, the row above it is filled across.
  for (int px = x - h; px <= x + h; ++px) EXPECT_EQ(canvas.GetPixel(px, y + h), kBlack) << px;
}

// Copies within one canvas, compared with a copy read from an untouched snapshot.
TEST(CanvasBitBlt, OverlappingSelfCopies) {
  struct Case {
    const char* name;
    int x, y, w, h, sx, sy;
  };
  const Case cases[] = {
      {"scroll left by 2", 0, 0, 9, 6, 2, 0},
      {"scroll right by 3", 3, 0, 8, 6, 0, 0},
      {"down by 1", 0, 1, 11, 5, 0, 0},
      {"up by 2", 0, 0, 11, 4, 0, 2},
      {"diagonal down-right", 1, 1, 10, 5, 0, 0},
      {"diagonal up-left", 0, 0, 10, 5, 1, 1},
      {"partly outside", -3, 2, 20, 20, 0, 0},
  };
  for (const Case& c : cases) {
    Canvas canvas(11, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 11; ++x) canvas.SetPixel(x, y, Rgb(x * 20, y * 40, 7));
    const Canvas before = canvas;
    canvas.BitBlt(c.x, c.y, c.w, c.h, canvas, c.sx, c.sy);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 11; ++x) {
        const int sx = x - c.x + c.sx, sy = y - c.y + c.sy;
        const bool copied = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h && sx >= 0 && sx < 11 &&
                            sy >= 0 && sy < 6;
        const Colour want = copied ? before.GetPixel(sx, sy) : before.GetPixel(x, y);
        ASSERT_EQ(canvas.GetPixel(x, y), want) << c.name << " at " << x << "," << y;
      }
    }
  }
}

// ShiftLeft moves the picture like a self copy of the whole canvas, also when its buffer runs out of room and
// after resizes; drawing between the shifts lands where it is drawn.
TEST(CanvasShift, MovesLikeABlockCopyOverManySteps) {
  Canvas canvas(13, 5), reference(13, 5);
  for (Canvas* c : {&canvas, &reference})
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 13; ++x) c->SetPixel(x, y, Rgb(x * 19, y * 50, 3));
  const int steps[] = {2, 1, 3, 2, 12, 2};
  for (int i = 0; i < 400; ++i) {
    const int dx = steps[i % 6];
    if (i == 200) {
      canvas.ResizeKeep(14, 6, kBlue);
      reference.ResizeKeep(14, 6, kBlue);
    }
    canvas.ShiftLeft(dx);
    reference.BitBlt(0, 0, reference.width() - dx, reference.height(), reference, dx, 0);
    // The caller draws the columns the shift leaves undefined, and a little more.
    for (Canvas* c : {&canvas, &reference}) {
      c->SelectPen(SolidPen(1, Rgb(i % 256, 7, 9)));
      for (int x = c->width() - dx; x < c->width(); ++x) {
        c->MoveTo(x, 0);
        c->LineTo(x, c->height());
      }
      c->SetPixel(i % c->width(), i % c->height(), kRed);
    }
    for (int y = 0; y < canvas.height(); ++y)
      for (int x = 0; x < canvas.width(); ++x)
        ASSERT_EQ(canvas.GetPixel(x, y), reference.GetPixel(x, y)) << "step " << i << " at " << x << "," << y;
  }
  // The buffer as a whole holds the picture row after row.
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x)
      ASSERT_EQ(FromPixel(canvas.bits()[y * canvas.width() + x]), reference.GetPixel(x, y));
  const Canvas copy = canvas;
  EXPECT_EQ(copy.GetPixel(3, 2), canvas.GetPixel(3, 2));
  canvas.Clear(kBlue);
  EXPECT_EQ(Inked(canvas).size(), std::size_t(14 * 6));
  EXPECT_EQ(canvas.GetPixel(13, 5), kBlue);
  for (int dx : {0, -1, 14, 99}) {
    canvas.SetPixel(0, 0, kRed);
    canvas.ShiftLeft(dx);
    EXPECT_EQ(canvas.GetPixel(0, 0), kRed) << dx;
  }
  Canvas empty;
  empty.ShiftLeft(1);
  EXPECT_TRUE(empty.empty());
}

TEST(CanvasBitBlt, AndCombinesLayers) {
  Canvas base(4, 1), track(4, 1);
  const Colour grid = Rgb(192, 192, 192);
  base.SetPixel(0, 0, grid);
  base.SetPixel(2, 0, grid);
  track.SetPixel(1, 0, kRed);
  track.SetPixel(2, 0, Rgb(0, 255, 0));
  base.BitBlt(0, 0, 4, 1, track, 0, 0, RasterOp::And);
  EXPECT_EQ(base.GetPixel(0, 0), grid);                // white track shows the base
  EXPECT_EQ(base.GetPixel(1, 0), kRed);                // track over white
  EXPECT_EQ(base.GetPixel(2, 0), Rgb(0, 192, 0));      // both inked: bitwise AND
  EXPECT_EQ(base.GetPixel(3, 0), kWhite);
  EXPECT_EQ(base.bits()[2] >> 24, 0xFFu);              // still opaque for RGB32

  Canvas self(5, 1);
  for (int x = 0; x < 5; ++x) self.SetPixel(x, 0, x % 2 ? kRed : kBlue);
  self.BitBlt(1, 0, 4, 1, self, 0, 0, RasterOp::And);  // each pixel ANDed with its left neighbour as it was
  EXPECT_EQ(self.GetPixel(0, 0), kBlue);
  for (int x = 1; x < 5; ++x) EXPECT_EQ(self.GetPixel(x, 0), kBlack) << x;
}

// Far-off coordinates are clipped without writing outside the buffer and without walking the whole line.
TEST(CanvasClipping, WildCoordinates) {
  struct Case {
    const char* name;
    void (*draw)(Canvas&);
    PixelSet expected;
  };
  const Case cases[] = {
      {"line across the int range", [](Canvas& c) { c.MoveTo(INT_MIN, 5); c.LineTo(INT_MAX, 5); }, Box(0, 5, 15, 5)},
      {"diagonal through the buffer",
       [](Canvas& c) { c.MoveTo(INT_MIN, INT_MIN); c.LineTo(INT_MAX, INT_MAX); },
       [] { PixelSet s; for (int i = 0; i < 16; ++i) s.insert({i, i}); return s; }()},
      {"steep line far away", [](Canvas& c) { c.MoveTo(INT_MAX, INT_MIN); c.LineTo(INT_MAX - 7, INT_MAX); }, {}},
      {"wide pen near the edge", [](Canvas& c) { c.SelectPen(SolidPen(3, kBlack)); c.MoveTo(-1, -50); c.LineTo(-1, 50); },
       Box(0, 0, 0, 15)},
      {"huge pen width is cut", [](Canvas& c) { c.SelectPen(SolidPen(INT_MAX, kBlack)); c.MoveTo(-1000, 8); c.LineTo(-1000, 8); }, {}},
      {"huge ellipse covers the buffer", [](Canvas& c) { c.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000); },
       Box(0, 0, 15, 15)},
      {"rectangle over the whole int range", [](Canvas& c) { c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX); },
       Box(0, 0, 15, 15)},
      {"fill over the whole int range", [](Canvas& c) { c.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kRed); },
       Box(0, 0, 15, 15)},
      {"polygon with far vertices",
       [](Canvas& c) { c.Polygon({{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}}); },
       Box(0, 0, 15, 15)},
      {"pixels outside", [](Canvas& c) { c.SetPixel(-1, 0, kBlack); c.SetPixel(16, 3, kBlack); c.SetPixel(3, INT_MIN, kBlack); }, {}},
      {"copy from far outside",
       [](Canvas& c) { Canvas o(4, 4, kBlack); c.BitBlt(INT_MAX - 1, 0, INT_MAX, INT_MAX, o, INT_MIN, 0); c.BitBlt(-2, -2, 4, 4, o, 0, 0); },
       Box(0, 0, 1, 1)},
  };
  for (const Case& c : cases) {
    Canvas canvas(16, 16);
    canvas.SelectPen(SolidPen(1, kBlack));
    canvas.SelectBrush(SolidBrush(kRed));
    c.draw(canvas);
    EXPECT_EQ(Inked(canvas), c.expected) << c.name << ": " << Describe(Inked(canvas));
  }
  Canvas canvas(4, 4);
  EXPECT_EQ(canvas.GetPixel(4, 0), kInvalidColour);
  EXPECT_EQ(canvas.GetPixel(0, -1), kInvalidColour);
}

TEST(CanvasSize, ResizeKeepsOverlapAndRejectsBadSides) {
  Canvas canvas(3, 2);
  canvas.SetPixel(2, 1, kRed);
  canvas.ResizeKeep(5, 4, kBlue);
  EXPECT_EQ(canvas.GetPixel(2, 1), kRed);
  EXPECT_EQ(canvas.GetPixel(4, 3), kBlue);
  EXPECT_EQ(canvas.GetPixel(0, 0), kWhite);
  canvas.Resize(-5, 7);
  EXPECT_TRUE(canvas.empty());
  canvas.MoveTo(0, 0);
  canvas.LineTo(5, 5);  // nothing to draw into
  canvas.Resize(INT_MAX, 1);
  EXPECT_EQ(canvas.width(), Canvas::kMaxSide);
}

TEST(Palette, ColourTableAndPens) {
  EXPECT_EQ(ColourTable[0], Rgb(32, 0, 255));
  EXPECT_EQ(ColourTable[8], Rgb(0, 111, 255));
  EXPECT_EQ(ColourTable[22], Rgb(0, 255, 0));
  EXPECT_EQ(ColourTable[37], Rgb(255, 110, 0));
  EXPECT_EQ(ColourTable[ColourCount], Rgb(255, 0, 255));
  EXPECT_EQ(ColourTable[kOtherChannelColour], kWhite);
  EXPECT_EQ(kButtonFace, Rgb(240, 240, 240));

  ResetSettings();
  Config().traceColour[2] = Rgb(1, 2, 3);
  Config().traceThickness[2] = 4;
  Config().positionColour = Rgb(9, 8, 7);
  CreateSharedPens();
  const SharedPens& p = Pens();
  EXPECT_EQ(p.ColourPens[17], SolidPen(2, ColourTable[17]));
  EXPECT_EQ(p.ColourBrushes[50], SolidBrush(kWhite));
  EXPECT_EQ(p.TracePen[2], SolidPen(4, Rgb(1, 2, 3)));
  EXPECT_EQ(p.ThinTracePen[2], SolidPen(1, Rgb(1, 2, 3)));
  EXPECT_EQ(p.TraceBrush[2], SolidBrush(Rgb(1, 2, 3)));
  EXPECT_EQ(p.ZeroLinePen, SolidPen(2, Rgb(192, 192, 192)));
  EXPECT_EQ(p.ThickPositionPen, SolidPen(2, Rgb(9, 8, 7)));

  Config().positionColour = kRed;
  Config().cursorColour = kBlue;
  Config().traceColour[2] = kRed;
  RecreateMapPens();
  EXPECT_EQ(p.PositionPen, SolidPen(1, kRed));
  EXPECT_EQ(p.PositionBrush, SolidBrush(kRed));
  EXPECT_EQ(p.CursorPen, SolidPen(1, kBlue));
  EXPECT_EQ(p.TraceBrush[2], SolidBrush(Rgb(1, 2, 3)));  // profile pens wait for their own rebuild
  RecreateTracePens();
  EXPECT_EQ(p.TraceBrush[2], SolidBrush(kRed));
  ResetSettings();
  CreateSharedPens();
}

}  // namespace
}  // namespace obrix
