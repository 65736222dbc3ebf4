// The map window of a contest with 2,000 QSOs painted by the GDI+ painter, as "Salva immagine"
// writes it: the size of the control, the last QSO's dot where the view puts it; saved beside the
// Qt painter's picture of the same contest for a person to compare.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "Win32DrawTest.h"
#include "support/MapRecords.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"

namespace keldra::testing {
namespace {

class MapPngTest : public ProgramTest {};

TEST_F(MapPngTest, MapOfTwoThousandQsosAsWindowsPaintsIt) {
  StartGdiplus();
  WriteBytes(File("config.txt"), "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = \r\n");
  program().Start();
  ContestState contest;
  contest.edi_records = Records(2000);
  PutContest(program(), contest);
  MapWindow& window = program().Get<MapWindow>();
  ASSERT_EQ(window.Qsos().size(), 2000u);
  const std::optional<std::string> png = win32::Win32DrawingPainter().Png(window.map);
  ASSERT_TRUE(png.has_value());
  SaveScreenshot("map_2000_qsos.png", *png);
  const Picture picture = DecodePng(*png);
  EXPECT_EQ(picture.width, window.map.Width() / 15);
  EXPECT_EQ(picture.height, window.map.Height() / 15);
  const Marker& last = window.map.Layers()[kMapQsos].markers.back();
  const DrawPoint at = window.map.ToPixels(last.at);
  EXPECT_EQ(picture.At(static_cast<int>(at.x), static_cast<int>(at.y)), last.color);
}

}  // namespace
}  // namespace keldra::testing
