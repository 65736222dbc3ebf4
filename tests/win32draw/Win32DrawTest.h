// Support of the GDI+ painter's tests: GDI+ started once, a form holding a 200 x 100 pixel
// drawing, PNG bytes read back into pixels, and pictures saved for a person to look at.
#pragma once

#include <gtest/gtest.h>

#include "widgets/Form.h"
#include "widgets/Screen.h"
#include "win32/DrawingWidget.h"
#include "win32/GdiplusPainting.h"

// windows.h names its MessageBox function as a macro; the tests mean the program's own.
#undef MessageBox

namespace keldra::testing {

inline void StartGdiplus() {
  static win32::GdiplusSession session;
  ASSERT_TRUE(session.Started());
}

// Pixels as 0xAARRGGBB, not premultiplied.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb{};
  std::uint32_t Argb(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
  Color At(int x, int y) const {
    const std::uint32_t p = Argb(x, y);
    return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
            static_cast<std::uint8_t>(p)};
  }
};

Picture DecodePng(const std::string& png);
// The mean difference of the channels (0 to 255) over two pictures of one size.
double MeanDifference(const Picture& a, const Picture& b);
// The largest difference of one channel between two pixels.
int ChannelDistance(std::uint32_t a, std::uint32_t b);
// Into KELDRA_SCREENSHOTS (or screenshots/ in the working folder).
void SaveScreenshot(const std::string& name, const std::string& png);

class DrawingTest : public ::testing::Test {
 protected:
  DrawingTest() {
    StartGdiplus();
    map.Move(0, 0, 200 * 15, 100 * 15);
  }
  Screen screen;
  Form form{screen, "Form1", "Mappa", 240 * 15, 140 * 15};
  Drawing map{form, "Map"};
};

}  // namespace keldra::testing
