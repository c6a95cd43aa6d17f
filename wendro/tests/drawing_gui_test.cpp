// Drawing on real pixels: the QPainter canvas, its raster modes, the screen
// text metrics, and a device drawn as the editor shows it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>

#include "C_Shapes.h"
#include "Canvas.h"
#include "ScreenMetrics.h"
#include "drawing_fixture.h"
#include "platform/qt_canvas.h"

using namespace wendro;
using platform::qt::ImageCanvas;

namespace {

int argc = 1;
char name[] = "wendro_drawing_gui_test";
char* argv[] = {name, nullptr};
QGuiApplication app(argc, argv);

int CountDifferent(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

// A picture with something on it, to XOR over.
void Background(platform::Canvas& c) {
  for (int i = 0; i < 200; i += 7) {
    c.SetPen({platform::MakeColour(i, 255 - i, (i * 3) & 0xFF), 1 + i % 3});
    c.MoveTo(0, i);
    c.LineTo(199, 199 - i);
  }
  c.SetBrush({true, platform::MakeColour(200, 30, 90)});
  c.Ellipse({50, 50, 150, 120});
}

TEST(QtCanvas, XorAndNotXorDrawnTwiceRestoreEveryPixel) {
  for (auto mode : {platform::RasterMode::Xor, platform::RasterMode::NotXor, platform::RasterMode::Invert}) {
    ImageCanvas base({200, 200});
    Background(base.canvas());
    const QImage before = base.Finish().copy();

    ImageCanvas twice({200, 200});
    Background(twice.canvas());
    platform::Canvas& c = twice.canvas();
    c.SetRasterMode(mode);
    for (int round = 0; round < 2; ++round) {
      c.SetPen({platform::MakeColour(0, 128, 255), 1, platform::PenStyle::Dot});
      c.SetBrush({});
      c.Rectangle({10, 10, 120, 90});
      c.SetPen({platform::MakeColour(255, 0, 0), 3});
      c.MoveTo(5, 190);
      c.LineTo(190, 5);
      c.SetPen({platform::MakeColour(255, 255, 0), 1});
      c.SetBrush({true, platform::MakeColour(0, 255, 0)});
      c.Ellipse({30, 100, 90, 170});
      c.Arc({100, 100, 180, 180}, {180, 140}, {140, 100});
      const platform::Point poly[] = {{20, 20}, {80, 40}, {40, 80}};
      c.Polygon(poly);
      c.FillRect({150, 10, 170, 30}, platform::MakeColour(128, 128, 128));
      c.FocusRect({60, 60, 140, 140});
    }
    const QImage after = twice.Finish();
    EXPECT_EQ(CountDifferent(before, after), 0) << int(mode);
  }
}

TEST(QtCanvas, ArcsRunCounterClockwiseFromStartToEnd) {
  // The quarter from 3 o'clock to 12 o'clock of a circle round (100, 100).
  ImageCanvas image({200, 200});
  image.canvas().SetPen({0, 1});
  image.canvas().Arc({50, 50, 151, 151}, {150, 100}, {100, 50});
  const QImage& img = image.Finish();
  auto dark = [&](int x0, int y0) {
    for (int y = y0 - 2; y <= y0 + 2; ++y)
      for (int x = x0 - 2; x <= x0 + 2; ++x)
        if (qGray(img.pixel(x, y)) < 128) return true;
    return false;
  };
  EXPECT_TRUE(dark(135, 65));   // upper right
  EXPECT_FALSE(dark(65, 65));   // upper left
  EXPECT_FALSE(dark(135, 135)); // lower right
}

TEST(QtCanvas, TheViewportImageHoldsOnlyItsPartOfTheSurface) {
  // A view of 100 × 80 pixels at (5000, 3000) of a paint box far larger.
  ImageCanvas view({100, 80}, {5000, 3000});
  view.canvas().FillRect({5010, 3010, 5020, 3020}, platform::MakeColour(0, 0, 0));
  const QImage& img = view.Finish();
  EXPECT_EQ(img.size(), QSize(100, 80));
  EXPECT_EQ(qGray(img.pixel(15, 15)), 0);
  EXPECT_EQ(qGray(img.pixel(25, 15)), 255);
}

TEST(ScreenMetrics, ArialIsMeasuredWithItsMetricTwin) {
  platform::Font arial;
  EXPECT_EQ(QFontInfo(platform::qt::ToQFont(arial)).family(), "Liberation Sans");
  TScreenMetrics metrics;
  const auto small = metrics.Extent(arial, "Resistor");
  EXPECT_EQ(small.height, 14);
  EXPECT_GT(small.width, 30);
  EXPECT_LT(small.width, 70);
  platform::Font large = arial;
  large.height = 28;
  const auto big = metrics.Extent(large, "Resistor");
  EXPECT_EQ(big.height, 28);
  EXPECT_NEAR(big.width, 2 * small.width, 4);
  large.weight = 700;
  EXPECT_GT(metrics.Extent(large, "Resistor").width, big.width);
  // The block-symbol measure is the same service.
  EXPECT_EQ(metrics.Measure("Resistor", 1.0).width, small.width);
}

// The editor's view of a device, without its grid.
QImage EditorPicture(const TDShape& drawing, int zoom, const TTextMetrics& metrics) {
  const int size = 220 * zoom;
  ImageCanvas image({size, size});
  {
    TDirCanvas canvas(&image.canvas(), metrics, zoom);
    canvas.pinMarkers = true;
    TShapeList items = ExplodeDShape(drawing, metrics);
    // Graphics, then pins, then markers.
    auto pass = [&](auto wanted) {
      for (auto& item : items)
        if (wanted(*item)) item->Draw(canvas, TPenMode::Normal);
    };
    pass([](const TXShape& s) { return !s.IsMarker() && !dynamic_cast<const TPin*>(&s); });
    pass([](const TXShape& s) { return dynamic_cast<const TPin*>(&s) != nullptr; });
    pass([](const TXShape& s) { return s.IsMarker(); });
  }
  return image.Finish().copy();
}

TEST(DeviceDrawing, EveryItemTypeRendersAndAPictureIsKept) {
  TScreenMetrics metrics;
  const TDShape drawing = wendro::testing::EveryItemDrawing();

  // The stored drawing through the drawing context, turned and mirrored.
  for (int rotation = 0; rotation < 4; ++rotation) {
    ImageCanvas image({240, 240});
    {
      TDrawContext context(&image.canvas(), metrics);
      context.Init({0, 0, 240, 240}, {0, 0, 240, 240});
      DrawDShape(drawing, context, {120, 120}, rotation, 1, rotation % 2 == 1,
                 kDrawPinMarkers | kDrawSupplementary);
    }
    const QImage& img = image.Finish();
    int drawn = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) drawn += img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(drawn, 1000) << rotation;
    EXPECT_TRUE(img.save(QDir::current().filePath(QString("wendro_stored_r%1.png").arg(rotation))));
  }

  // The editor's view at zoom 1 and 4, kept beside the test for a look.
  const QImage z1 = EditorPicture(drawing, 1, metrics);
  const QImage z4 = EditorPicture(drawing, 4, metrics);
  EXPECT_TRUE(z1.save(QDir::current().filePath("wendro_device_z1.png")));
  EXPECT_TRUE(z4.save(QDir::current().filePath("wendro_device_z4.png")));
  // The same picture, four times as large: the polygon's fill is where the
  // zoom puts it.
  const int x = 120 + 16 + 3, y = 96 - 20 + 6;  // inside the triangle, world units
  EXPECT_EQ(z1.pixel(x, y), qRgb(0, 128, 128));
  EXPECT_EQ(z4.pixel(4 * x, 4 * y), qRgb(0, 128, 128));
  EXPECT_EQ(z4.pixel(4 * x - 40, 4 * y), qRgb(255, 255, 0));  // the rectangle's fill beside it
}

}  // namespace
