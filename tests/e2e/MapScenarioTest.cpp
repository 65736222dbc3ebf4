// The map with real keys and clicks: QSOs logged on-line, the map opened with a click on "Mappa",
// the square worked twice shaded on the real screen where the model's map puts it, and "Salva
// immagine" writing a PNG that opens, of the map's size and with the same shade.
#include <gtest/gtest.h>

#include <sstream>

#include "Harness.h"
#include "ui/MapWindow.h"

namespace keldra::e2e {
namespace {

const char kStation[] = "Call = IQ5QRP\r\nLocator = JN54QK\r\nIQRP = 123\r\nMQC = 045\r\n";

class MapScenarioTest : public ::testing::Test {
 protected:
  // The colour of a pixel of an image file, as ImageMagick reads it: "r,g,b".
  std::string PixelOf(const std::filesystem::path& image, int x, int y) {
    std::string out = x_.Run("convert '" + image.string() + "' -format '%[fx:int(255*p{" +
                             std::to_string(x) + "," + std::to_string(y) + "}.r)],%[fx:int(255*p{" +
                             std::to_string(x) + "," + std::to_string(y) + "}.g)],%[fx:int(255*p{" +
                             std::to_string(x) + "," + std::to_string(y) + "}.b)]' info:");
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) {
      out.pop_back();
    }
    return out;
  }
  // How many of 16 points inside a square an image shows in `rgb`, the map standing at `left`,
  // `top` in it.
  int ShadedPoints(const std::filesystem::path& image, const MapWindow& map,
                   const std::string& square, const std::string& rgb, int left, int top) {
    const GridCell cell = *CellNamed(square);
    const AzimuthalProjection projection(LocatorCentre("JN54QK"));
    int shaded = 0;
    for (int i = 1; i <= 4; ++i) {
      for (int j = 1; j <= 4; ++j) {
        const DrawPoint p = map.map.ToPixels(MapWindow::ToDrawing(
            projection.Project(cell.box.south + i * 0.2, cell.box.west + j * 0.4)));
        shaded += PixelOf(image, left + static_cast<int>(p.x), top + static_cast<int>(p.y)) == rgb;
      }
    }
    return shaded;
  }

  XSession x_;
};

TEST_F(MapScenarioTest, TheWorkedSquareIsShadedOnScreenAndInTheSavedImage) {
  const StartState setup{{2023, 7, 16, 9, 0, 0}, 120, {{"config.txt", kStation}}};
  BothRuns run(x_, setup);
  std::vector<Step> steps = {
      Click("Form1", "Text6"),
      Keys("Form1", "IK5ABC/P\n\n\n7\nJN53HT\nI003\n\n"),
      Keys("Form1", "I5XYZ\n\n\n12\nJN53LX\n\n\n"),
      Keys("Form1", "9A2QRP\n\n\n3\nJN85OU\n\n\n"),
      Click("Form1", "MapButton", "e2e_20_map"),
  };
  run.Play(steps);
  const auto& map = static_cast<const MapWindow&>(run.model.Window("MapWindow"));
  ASSERT_EQ(map.Qsos().size(), 3u);

  // The real window as it is on screen, its map at the model's place in it.
  const std::string window = run.op.WaitForWindow(map.Caption());
  ASSERT_FALSE(window.empty());
  const auto shot = run.real_root.path() / "map.png";
  x_.Run("import -window " + window + " '" + shot.string() + "'");
  const Color two = kMapShades[ShadeBandOf(2)];
  const std::string rgb =
      std::to_string(two.r) + "," + std::to_string(two.g) + "," + std::to_string(two.b);
  const int left = map.map.Left() / 15;
  const int top = map.map.Top() / 15;
  EXPECT_GE(ShadedPoints(shot, map, "JN53", rgb, left, top), 8);
  EXPECT_EQ(ShadedPoints(shot, map, "JN64", rgb, left, top), 0);  // no QSO there

  run.Play({Click("MapWindow", "SaveImageButton")});
  const auto saved = run.real_folder / kMapImageName;
  ASSERT_TRUE(std::filesystem::exists(saved));
  std::istringstream size(x_.Run("identify -format '%w %h' '" + saved.string() + "'"));
  int width = 0;
  int height = 0;
  size >> width >> height;
  EXPECT_EQ(width, map.map.Width() / 15);
  EXPECT_EQ(height, map.map.Height() / 15);
  EXPECT_GE(ShadedPoints(saved, map, "JN53", rgb, 0, 0), 8);
}

}  // namespace
}  // namespace keldra::e2e
