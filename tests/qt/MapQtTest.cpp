// The map window drawn by the real front end: screenshots at the start of a contest, with 60 and
// with 2,000 QSOs; the worked squares shaded on screen; zoom and pan by wheel, keys and dragging
// changing the view only; the tooltip of a dot; resizing; the PNG "Salva immagine" writes; and the
// chat's users on the map, one clicked into the entry row.
#include <QImage>
#include <QWheelEvent>

#include "QtTestSupport.h"
#include "qt/DrawingWidget.h"
#include "support/MapRecords.h"
#include "ui/ChatWindow.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"

namespace keldra::testing {
namespace {

// Records appended to the log, as a resume appends them.
void PutRecords(Program& program, const std::string& records) {
  ContestState contest;
  contest.edi_records = records;
  PutContest(program, contest);
}

class MapQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 001\r\nMQC = \r\n");
    FrontEnd();
    program().Start();
    Settle();
  }
  MapWindow& OpenMap() {
    auto* button = FrontEnd().WidgetOf(program().Get<MainWindow>().map_button);
    EXPECT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    Settle();
    return *program().Find<MapWindow>();
  }
  QWidget* MapWidget(MapWindow& map) { return FrontEnd().WidgetOf(map.map); }
  QPoint PixelOf(MapWindow& map, double latitude, double longitude) {
    const AzimuthalProjection projection(LocatorCentre("JN81GD"));
    const DrawPoint p =
        map.map.ToPixels(MapWindow::ToDrawing(projection.Project(latitude, longitude)));
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
  }
  // How many of 16 points inside a square show exactly the colour of its shade.
  int ShadedPoints(MapWindow& map, const QImage& image, const std::string& square, QColor shade) {
    const GridCell cell = *CellNamed(square);
    int shaded = 0;
    for (int i = 1; i <= 4; ++i) {
      for (int j = 1; j <= 4; ++j) {
        const QPoint p = PixelOf(map, cell.box.south + i * 0.2, cell.box.west + j * 0.4);
        shaded += image.pixelColor(p) == shade ? 1 : 0;
      }
    }
    return shaded;
  }
};

TEST_F(MapQtTest, ScreenshotsAndTheWorkedSquaresShaded) {
  MapWindow& map = OpenMap();
  ASSERT_NE(MapWidget(map), nullptr);
  Screenshot(map, "map_start");

  PutRecords(program(), Records(60));
  Settle();
  Screenshot(map, "map_60_qsos");
  const std::vector<SquareCount> counts = CountSquares([&] {
    std::vector<std::string> locators;
    for (const MapWindow::Qso& qso : map.Qsos()) {
      locators.push_back(qso.locator);
    }
    return locators;
  }());
  const QImage image = MapWidget(map)->grab().toImage();
  const auto busiest = std::max_element(counts.begin(), counts.end(),
                                        [](auto& a, auto& b) { return a.qsos < b.qsos; });
  const Color shade = kMapShades[ShadeBandOf(busiest->qsos)];
  const QColor fill(shade.r, shade.g, shade.b);
  EXPECT_GE(ShadedPoints(map, image, busiest->square, fill), 8) << busiest->square;
  // A square near the station with no QSO shows no shade.
  for (const GridCell& cell : CellsIn(GridLevel::kSquare, {40, 46, 8, 18})) {
    if (std::none_of(counts.begin(), counts.end(),
                     [&](const SquareCount& c) { return c.square == cell.name; })) {
      ASSERT_TRUE(image.rect().contains(PixelOf(map, cell.box.south, cell.box.west)));
      EXPECT_EQ(ShadedPoints(map, image, cell.name, fill), 0) << cell.name;
      break;
    }
  }

  const std::string more = Records(2000);
  std::size_t start = 0;
  for (int i = 0; i < 60; ++i) {
    start = more.find('\n', start) + 1;
  }
  PutRecords(program(), more.substr(start));
  Settle();
  Screenshot(map, "map_2000_qsos");
  EXPECT_EQ(map.Qsos().size(), 2000u);
}

TEST_F(MapQtTest, WheelKeysAndDraggingMoveTheViewOnly) {
  MapWindow& map = OpenMap();
  PutRecords(program(), Records(60));
  Settle();
  QWidget* widget = MapWidget(map);
  std::vector<std::uint64_t> versions;
  for (std::size_t i = 0; i < map.map.Layers().size(); ++i) {
    versions.push_back(map.map.LayerVersion(i));
  }
  const DrawingZoom before = map.map.View();
  const QPointF at(100, 80);
  const DrawPoint under = map.map.ToUnits(at.x(), at.y());
  QWheelEvent wheel(at, widget->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
  EXPECT_DOUBLE_EQ(map.map.View().scale, before.scale * 1.25);
  // The point under the mouse stays under it.
  EXPECT_NEAR(map.map.ToPixels(under).x, at.x(), 1e-6);
  EXPECT_NEAR(map.map.ToPixels(under).y, at.y(), 1e-6);

  widget->setFocus();
  QTest::keyClick(widget, Qt::Key_Minus);
  EXPECT_DOUBLE_EQ(map.map.View().scale, before.scale);

  const DrawingZoom zoomed = map.map.View();
  QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(200, 200));
  QMouseEvent move(QEvent::MouseMove, QPointF(260, 170), widget->mapToGlobal(QPointF(260, 170)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(260, 170));
  EXPECT_NEAR(map.map.View().centre.x, zoomed.centre.x - 60 / zoomed.scale, 1e-9);
  EXPECT_NEAR(map.map.View().centre.y, zoomed.centre.y + 30 / zoomed.scale, 1e-9);

  // Only the bearings' labels, a dozen in pixels at the view's edge, follow the view.
  for (std::size_t i = 0; i < versions.size(); ++i) {
    if (i != kMapBearings) {
      EXPECT_EQ(map.map.LayerVersion(i), versions[i]) << "layer " << i;
    }
  }
}

TEST_F(MapQtTest, TooltipResizeAndTheSavedPng) {
  MapWindow& map = OpenMap();
  PutRecords(program(), Records(60));
  Settle();
  const MapWindow::Qso& last = map.Qsos().back();
  const DrawPoint p = map.map.ToPixels(MapWindow::ToDrawing(last.at));
  const Marker* marker = map.map.MarkerAt(p.x + 2, p.y + 1);
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->tooltip, last.call + " - " + last.locator + " - " + std::to_string(last.km) +
                                 " km - " + last.time + " UTC");
  // "Adatta" leaves a margin: no dot in the corner, so no tooltip there.
  EXPECT_EQ(map.map.MarkerAt(3, 3), nullptr);

  QWidget* window = FrontEnd().WindowOf(map);
  window->resize(1100, 800);
  Settle();
  EXPECT_EQ(map.Width(), 1100 * 15);
  EXPECT_EQ(MapWidget(map)->width(), 1100 - 16);

  qt::QtDrawingPainter painter;
  const std::optional<std::string> png = painter.Png(map.map);
  ASSERT_TRUE(png.has_value());
  const QImage image =
      QImage::fromData(QByteArray(png->data(), static_cast<qsizetype>(png->size())), "PNG");
  EXPECT_EQ(image.size(), MapWidget(map)->size());
  // Painted as the screen shows it: the station's black dot where the view puts the centre.
  const DrawPoint station = map.map.ToPixels({0, 0});
  EXPECT_EQ(image.pixelColor(static_cast<int>(station.x), static_cast<int>(station.y)),
            QColor(0, 0, 0));
}

TEST_F(MapQtTest, ChatUsersScreenshotAndAClickIntoTheEntryRow) {
  MapWindow& map = OpenMap();
  PutRecords(program(), Records(60));
  program().Get<ChatWindow>().OnFrames(ChatRoomUsers(40));
  Settle();
  Screenshot(map, "map_chat_users");
  const DrawPoint p = map.map.ToPixels(map.map.Layers().at(kMapChat).markers.at(7).at);
  QTest::mouseClick(MapWidget(map), Qt::LeftButton, {},
                    QPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))));
  EXPECT_EQ(program().Get<MainWindow>().call.Text(), map.ChatUsers().at(7).call);
}

}  // namespace
}  // namespace keldra::testing
