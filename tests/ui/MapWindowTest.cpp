// The map window: opened from the main window and from the statistics, following commits,
// corrections, resumes and the locator being typed, fitting its QSOs, the chat's users not yet
// worked, and "Salva immagine".
#include <filesystem>
#include <string>

#include "MainWindowFixture.h"
#include "core/StateFile.h"
#include "support/MapRecords.h"
#include "ui/ChatWindow.h"
#include "ui/MapWindow.h"
#include "ui/QsoEditWindow.h"
#include "ui/StatisticsWindow.h"

namespace keldra::testing {
namespace {

class FakePainter : public DrawingPainter {
 public:
  std::optional<std::string> Png(const Drawing& drawing) override {
    ++calls;
    if (!works) {
      return std::nullopt;
    }
    return "PNG " + std::to_string(drawing.Layers().size());
  }
  bool works = true;
  int calls = 0;
};

class RefusingDisk : public Files {
 protected:
  std::error_code Inject(WriteStep step) override {
    return step == WriteStep::kRename ? std::make_error_code(std::errc::permission_denied)
                                      : std::error_code();
  }
};

class MapWindowTest : public MainWindowTest {
 protected:
  void Log(const std::string& call, const std::string& locator) {
    Row(call, "012", locator);
    Main().ok_button.Press();
    ASSERT_EQ(LastMessage(), "") << call;
  }
  MapWindow& Map() {
    Main().map_button.Press();
    return *program().Find<MapWindow>();
  }
  const DrawingLayer& Layer(MapLayer layer) { return Map().map.Layers().at(layer); }
  // Whether a point of the map is inside the drawing as it is shown now.
  static bool OnScreen(const MapWindow& map, const MapPoint& at) {
    const DrawPoint p = map.map.ToPixels(MapWindow::ToDrawing(at));
    return p.x >= 0 && p.y >= 0 && p.x <= map.map.Width() / 15.0 && p.y <= map.map.Height() / 15.0;
  }
};

TEST_F(MapWindowTest, OpensFromTheMainWindowAndTheStatisticsAndResizes) {
  MapWindow& map = Map();
  EXPECT_TRUE(map.Visible());
  EXPECT_EQ(map.Caption(), "Keldra QRP Test - Mappa");
  EXPECT_TRUE(map.CentredOnStation());
  EXPECT_EQ(map.status.Caption(), "Centro JN81GD - 0 QSO");
  map.Unload();
  program().Get<StatisticsWindow>().map_button.Press();
  ASSERT_NE(program().Find<MapWindow>(), nullptr);
  EXPECT_TRUE(program().Find<MapWindow>()->Visible());

  // Larger: the map grows and the buttons keep to the bottom-right corner; never below the least.
  MapWindow& again = *program().Find<MapWindow>();
  const int map_width = again.map.Width();
  again.UserResize(again.Width() + 1500, again.Height() + 750);
  EXPECT_EQ(again.map.Width(), map_width + 1500);
  EXPECT_EQ(again.close_button.Left() + again.close_button.Width(), again.Width() - 120);
  EXPECT_EQ(again.close_button.Top(), again.Height() - 630);
  again.UserResize(10, 10);
  EXPECT_EQ(again.Width(), again.MinimumWidth());
  EXPECT_GT(again.map.Height(), 0);
}

TEST_F(MapWindowTest, FollowsCommitsCorrectionsAndResumes) {
  MapWindow& map = Map();
  Log("QX1ABC", "JN71GD");
  ASSERT_EQ(map.Qsos().size(), 1u);
  EXPECT_EQ(map.Qsos()[0].km, 168);
  EXPECT_EQ(Layer(kMapShading).lines.size(), 1u);
  EXPECT_EQ(Layer(kMapQsos).markers.front().tooltip, "QX1ABC - JN71GD - 168 km - 07.30 UTC");
  EXPECT_EQ(Layer(kMapQsos).labels.front().text, "ODX QX1ABC 168 km");
  Log("QX2BBB", "JN71GE");
  Log("QX3CCC", "JN91GD");
  EXPECT_EQ(map.status.Caption(), "Centro JN81GD - 3 QSO - 2 quadrati");
  // The last QSO is drawn on top, highlighted, where its dot is.
  EXPECT_EQ(Layer(kMapQsos).markers.back().at, MapWindow::ToDrawing(map.Qsos()[2].at));
  EXPECT_EQ(Layer(kMapQsos).markers.back().color, (Color{220, 0, 0}));

  // A correction in the edit window moves the QSO to its new square.
  QsoEditWindow& edit = program().Get<QsoEditWindow>();
  edit.Show();
  edit.search_call.SetFocus();
  edit.search_call.Type("QX3CCC");
  edit.search_call.PressKey(key::kEnter);
  edit.locator.SetFocus();
  edit.locator.UserEdit("", 0);
  edit.locator.Type("JN80GD");
  edit.modify_button.Press();
  ASSERT_EQ(map.Qsos().size(), 3u);
  EXPECT_EQ(map.Qsos()[2].locator, "JN80GD");
  EXPECT_EQ(map.status.Caption(), "Centro JN81GD - 3 QSO - 2 quadrati");

  // A resume brings its QSOs in after those on screen.
  ContestState state;
  state.serial = "002";
  state.qsos = "1";
  state.edi_records = "230716;0815;QX9ZZZ;1;59;001;59;012;;IN80AA;1;;;;\r\n";
  state.qso_list = "001   16/07/23   08.15   144Mhz   SSB   QX9ZZZ      59-012   IN80AA   \r\n";
  WriteBytes(File("parziale.db"), StateFileText(state));
  Main().resume_button.Press();
  ASSERT_EQ(map.Qsos().size(), 4u);
  EXPECT_EQ(map.Qsos()[3].call, "QX9ZZZ");
  EXPECT_EQ(map.Qsos()[3].time, "08.15");
  EXPECT_EQ(map.status.Caption(), "Centro JN81GD - 4 QSO - 3 quadrati");

  // A new station locator moves the centre, and every QSO with it.
  Main().station_locator.SetCaption("JN71GD");
  EXPECT_EQ(map.status.Caption(), "Centro JN71GD - 4 QSO - 3 quadrati");
  EXPECT_EQ(map.Qsos()[0].km, 0);
  EXPECT_EQ(map.Qsos()[0].at, (MapPoint{0, 0}));
  Main().station_locator.SetCaption("...");
  EXPECT_FALSE(map.CentredOnStation());
  EXPECT_EQ(map.status.Caption(),
            "Locatore della stazione non impostato: centro JN62 - 4 QSO - 3 quadrati");
}

TEST_F(MapWindowTest, TheLocatorBeingTypedIsALineFromTheCentre) {
  MapWindow& map = Map();
  Main().locator.SetText("JN71G");
  EXPECT_TRUE(Layer(kMapTyped).lines.empty());
  Main().locator.SetText("JN71GD");
  ASSERT_EQ(Layer(kMapTyped).lines.size(), 1u);
  const Polyline& line = Layer(kMapTyped).lines[0];
  ASSERT_EQ(line.points.size(), 2u);
  EXPECT_EQ(line.points[0], (DrawPoint{0, 0}));
  EXPECT_LT(line.points[1].x, -160);  // westwards
  EXPECT_EQ(Layer(kMapTyped).labels.at(0).text, "JN71GD  168 km  271\xB0");
  // "Adatta" takes the typed station in too.
  map.fit_button.Press();
  EXPECT_TRUE(OnScreen(map, {line.points[1].x, -line.points[1].y}));
  Main().locator.SetText("JN71GDX");
  EXPECT_TRUE(Layer(kMapTyped).lines.empty());
}

TEST_F(MapWindowTest, FitsEveryQsoAndKeepsTheOperatorsView) {
  MapWindow& map = Map();
  Log("QX1ABC", "JN71GD");
  Log("QX2BBB", "IN80AA");  // far to the west
  Log("QX3CCC", "KN05AA");  // far to the east
  for (const MapWindow::Qso& qso : map.Qsos()) {
    EXPECT_TRUE(OnScreen(map, qso.at)) << qso.call;
  }
  // Zoomed in, the window no longer fits by itself until "Adatta".
  const double scale = map.map.View().scale;
  map.zoom_in_button.Press();
  EXPECT_DOUBLE_EQ(map.map.View().scale, scale * 1.5);
  Log("QX4DDD", "IO91WM");
  EXPECT_DOUBLE_EQ(map.map.View().scale, scale * 1.5);
  map.fit_button.Press();
  for (const MapWindow::Qso& qso : map.Qsos()) {
    EXPECT_TRUE(OnScreen(map, qso.at)) << qso.call;
  }
  EXPECT_LT(map.map.View().scale, scale);

  // Zoomed in on the station by the operator, every bearing is still labelled at the edge of the
  // view, north straight above the station and south straight below it.
  map.map.UserView({.centre = {0, 0}, .scale = scale * 4});
  const std::vector<DrawLabel>& bearings = Layer(kMapBearings).labels;
  ASSERT_EQ(bearings.size(), 12u);
  const DrawPoint station = map.map.ToPixels({0, 0});
  const double width = map.map.Width() / 15.0;
  const double height = map.map.Height() / 15.0;
  for (const DrawLabel& label : bearings) {
    SCOPED_TRACE(label.text);
    EXPECT_TRUE(label.at.x >= 0 && label.at.x <= width && label.at.y >= 0 && label.at.y <= height);
  }
  EXPECT_EQ(bearings[0].text, "0\xB0");
  EXPECT_NEAR(bearings[0].at.x, station.x, 1e-6);
  EXPECT_NEAR(bearings[0].at.y, 14, 1e-6);
  EXPECT_NEAR(bearings[6].at.y, height - 14, 1e-6);
}

TEST_F(MapWindowTest, ChatUsersNotYetWorkedStandApartAndAClickTakesThem) {
  MapWindow& map = Map();
  Log("QX1ABC", "JN71GD");
  Main().chat_button.Press();
  ChatWindow& chat = program().Get<ChatWindow>();
  chat.OnFrames({ChatUserFrame("QX1ABC", "JN71GD"), ChatUserFrame("QX4DD", "JN61FW"),
                 ChatUserFrame("QX3CC", "XX99"), ChatUserFrame("QX2BB", "JN71GD")});
  // The worked one and the one with no place are left out; the rest by call, in their colour.
  const DrawingLayer& users = Layer(kMapChat);
  ASSERT_EQ(users.markers.size(), 2u);
  EXPECT_EQ(users.markers[0].tooltip, "QX2BB - JN71GD - 168 km - 168 punti - in chat");
  EXPECT_EQ(users.labels[1].text, "QX4DD");
  EXPECT_EQ(map.status.Caption(), "Centro JN81GD - 1 QSO - 1 quadrati - 2 in chat da lavorare");
  // The list sorted otherwise draws nothing again; a user joining redraws the users alone.
  const std::uint64_t users_drawn = map.map.LayerVersion(kMapChat);
  const std::uint64_t qsos_drawn = map.map.LayerVersion(kMapQsos);
  chat.by_call.Toggle();
  EXPECT_EQ(map.map.LayerVersion(kMapChat), users_drawn);
  chat.OnFrames({ChatUserFrame("QX5EE", "JN63QN")});
  EXPECT_EQ(map.ChatUsers().size(), 3u);
  EXPECT_EQ(map.map.LayerVersion(kMapQsos), qsos_drawn);

  // A drag over a user only moves the view; a click takes the user, once the row is free.
  const DrawPoint dd = map.map.ToPixels(Layer(kMapChat).markers[1].at);
  EXPECT_FALSE(map.map.UserRelease({dd.x - 30, dd.y}, dd));
  EXPECT_TRUE(map.map.UserRelease(dd, {dd.x + 1, dd.y}));
  EXPECT_EQ(Main().call.Text() + " " + Main().locator.Text(), "QX4DD JN61FW");
  const DrawPoint bb = map.map.ToPixels(Layer(kMapChat).markers[0].at);
  map.map.UserRelease(bb, bb);
  EXPECT_EQ(Main().call.Text(), "QX4DD");
  EXPECT_NE(map.status.Caption().find("riga del log in uso"), std::string::npos);
  // Logged, the user leaves the map; the chat closed, every user does.
  Main().serial_received.SetText("007");
  Main().ok_button.Press();
  EXPECT_EQ(map.status.Caption(), "Centro JN81GD - 2 QSO - 2 quadrati - 2 in chat da lavorare");
  chat.Unload();
  EXPECT_TRUE(Layer(kMapChat).markers.empty());
}

TEST_F(MapWindowTest, SaveImageWritesThePngOrSaysWhyNot) {
  FakePainter painter;
  program().SetPainter(&painter);
  MapWindow& map = Map();
  map.save_button.Press();
  EXPECT_EQ(ReadBytes(File(kMapImageName)), "PNG 12");
  EXPECT_EQ(LastMessage(), "La mappa e' stata salvata in " + File(kMapImageName).string());

  painter.works = false;
  map.save_button.Press();
  EXPECT_EQ(ReadBytes(File(kMapImageName)), "PNG 12");
  EXPECT_EQ(messages_.shown.back().icon, MessageIcon::kCritical);
  EXPECT_TRUE(LastMessage().starts_with("La mappa non e' stata salvata")) << LastMessage();
}

TEST_F(MapWindowTest, FailedWriteIsReportedAndKeepsTheOldImage) {
  RefusingDisk disk;
  program_ = std::make_unique<Program>(messages_, clock_, folder_.path(), &disk);
  FakePainter painter;
  program().SetPainter(&painter);
  WriteBytes(File(kMapImageName), "old");
  Map().save_button.Press();
  EXPECT_EQ(ReadBytes(File(kMapImageName)), "old");
  EXPECT_EQ(messages_.shown.back().icon, MessageIcon::kCritical);
  EXPECT_TRUE(LastMessage().starts_with("La mappa non e' stata salvata.\n")) << LastMessage();
  EXPECT_NE(LastMessage().find(File(kMapImageName).string()), std::string::npos);
}

}  // namespace
}  // namespace keldra::testing
