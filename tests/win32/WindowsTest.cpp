// Every window of the program drawn with Windows' own controls: each is shown as the operator
// opens it, every control the model shows is drawn (and only those), nothing sticks out of the
// window, every label's and box's text fits its control, and a screenshot of each is saved.
#include <functional>

#include "Win32TestSupport.h"
#include "ui/AdifSaveWindow.h"
#include "ui/AdministrationWindow.h"
#include "ui/BearingCalculatorWindow.h"
#include "ui/ClubAwardWindow.h"
#include "ui/ClubManagementWindow.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"
#include "ui/MainWindow.h"
#include "ui/MapWindow.h"
#include "ui/QsoEditWindow.h"
#include "ui/RadioWindow.h"
#include "ui/ReportWindow.h"
#include "ui/RestoreWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"
#include "ui/StatisticsWindow.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra::testing {
namespace {

struct WindowCase {
  const char* screenshot;
  // Brings the window up as the operator would, from a started program.
  std::function<Form&(Program&)> open;
};

template <class W>
Form& Shown(Program& program) {
  W& window = program.Get<W>();
  window.Show();
  return window;
}

Form& Statistics(Program& program) {
  ContestState contest;
  contest.qso_list =
      "001   16/07/23   07.30   144Mhz   SSB   QX1ABC      59-001   JN71GD   I003\r\n";
  contest.edi_records = "230716;0730;QX1ABC;1;59;001;59;001;I003;JN71GD;120;;;;\r\n";
  PutContest(program, contest);
  program.Get<MainWindow>().statistics_button.Press();
  return program.Get<StatisticsWindow>();
}

const WindowCase kWindows[] = {
    {"Form1", [](Program& p) -> Form& { return p.Get<MainWindow>(); }},
    {"Form2", Shown<EdiHeaderWindow>},
    {"Form4", Shown<EdiSaveWindow>},
    {"Form6", Shown<QsoEditWindow>},
    {"Form7", Statistics},
    {"Form8",
     [](Program& p) -> Form& {
       Statistics(p);
       p.Get<StatisticsWindow>().report_button.Press();
       return p.Get<ReportWindow>();
     }},
    {"Form9", Shown<ClubAwardWindow>},
    {"Form10", Shown<AdministrationWindow>},
    {"Form11", Shown<ClubManagementWindow>},
    {"Form22222", Shown<BearingCalculatorWindow>},
    {"map_start",
     [](Program& p) -> Form& {
       p.Get<MainWindow>().map_button.Press();
       return *p.Find<MapWindow>();
     }},
    {"radio_settings_window", Shown<RadioWindow>},
    {"adif_save", Shown<AdifSaveWindow>},
};

class WindowsTest : public Win32ProgramTest, public ::testing::WithParamInterface<WindowCase> {
 protected:
  // The text's extent in the control's own font.
  static SIZE TextExtent(HWND hwnd, const std::wstring& text, UINT format, int width) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return {rect.right, rect.bottom};
  }

  void ExpectTidy(const Form& form) {
    HWND top = FrontEnd().WindowOf(form);
    RECT client;
    GetClientRect(top, &client);
    for (const Control* control : form.Controls()) {
      HWND hwnd = Handle(*control);
      if (hwnd == nullptr) {
        continue;  // a line, painted by its container
      }
      bool shown = control->Visible();
      for (const Control* box = control->Container(); box != nullptr; box = box->Container()) {
        shown = shown && box->Visible();
      }
      EXPECT_EQ(IsWindowVisible(hwnd) != 0, shown) << control->Name();
      if (!shown) {
        continue;
      }
      RECT rect;
      GetWindowRect(hwnd, &rect);
      MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&rect), 2);
      if (control->Kind() != ControlKind::kComboBox) {  // its list may drop below the window
        EXPECT_LE(rect.bottom, client.bottom) << control->Name() << " sticks out at the bottom";
      }
      EXPECT_LE(rect.right, client.right) << control->Name() << " sticks out on the right";
      ExpectTextFits(*control, hwnd);
    }
  }

  void ExpectTextFits(const Control& control, HWND hwnd) {
    RECT inside;
    GetClientRect(hwnd, &inside);
    if (control.Kind() == ControlKind::kLabel &&
        !static_cast<const Label&>(control).Caption().empty()) {
      const auto& label = static_cast<const Label&>(control);
      const UINT format = DT_NOPREFIX | (label.WordWrap() ? DT_WORDBREAK | DT_EDITCONTROL : 0);
      const SIZE needed = TextExtent(hwnd, win32::Widen(label.Caption()), format, inside.right);
      EXPECT_LE(needed.cx, inside.right) << control.Name() << " '" << label.Caption() << "'";
      EXPECT_LE(needed.cy, inside.bottom) << control.Name() << " '" << label.Caption() << "'";
    } else if (control.Kind() == ControlKind::kTextBox &&
               !static_cast<const TextBox&>(control).MultiLine()) {
      const auto& box = static_cast<const TextBox&>(control);
      RECT format_rect;
      SendMessageW(hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format_rect));
      const SIZE needed = TextExtent(hwnd, win32::Widen(box.Text()), DT_SINGLELINE, 0);
      EXPECT_LE(needed.cx, format_rect.right - format_rect.left)
          << control.Name() << " '" << box.Text() << "'";
      EXPECT_LE(needed.cy, inside.bottom) << control.Name();
    }
  }
};

TEST_P(WindowsTest, IsDrawnTidyWithItsOwnCaption) {
  WriteBytes(File("config.txt"), kLoggingStationFile);
  FrontEnd();
  program().Start();
  Form& form = GetParam().open(program());
  Settle();
  ASSERT_TRUE(Drawn(form)) << form.Name();
  EXPECT_EQ(Shows(FrontEnd().WindowOf(form)), form.Caption());
  ExpectTidy(form);
  Screenshot(form, GetParam().screenshot);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowsTest, ::testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.screenshot); });

class StartupWindowsTest : public WindowsTest {};

TEST_F(StartupWindowsTest, TheStationTypedAndSavedBringsUpTheMainWindow) {
  FrontEnd();
  program().Start();
  Settle();
  StationWindow& station = program().Get<StationWindow>();
  ASSERT_TRUE(Drawn(station));
  EXPECT_FALSE(Drawn(program().Get<MainWindow>()));
  // The first field has the focus without a click.
  ASSERT_EQ(GetFocus(), Handle(station.call));
  Keys("qx0abc\njn81gd\n003");
  EXPECT_EQ(Shows(station.call), "QX0ABC");
  EXPECT_EQ(Shows(station.locator), "JN81GD");
  ExpectTidy(station);
  Screenshot(station, "Form3");

  Click(Handle(station.save_button));
  EXPECT_EQ(program().Find<StationWindow>(), nullptr);
  MainWindow& main = program().Get<MainWindow>();
  ASSERT_TRUE(Drawn(main));
  EXPECT_EQ(Shows(main.station_call), "QX0ABC");
  EXPECT_EQ(ReadBytes(File("config.txt")),
            "Call = QX0ABC\r\nLocator = JN81GD\r\nIQRP = 003\r\nMQC = \r\n");
  Screenshot(main, "Form1_station_saved");
}

TEST_F(StartupWindowsTest, AContestOnDiskShowsTheStartWindowAndItsTick) {
  WriteBytes(File("config.txt"), kLoggingStationFile);
  WriteBytes(File("parziale.db"), "QSO# 002\r\n");
  FrontEnd();
  program().Start();
  Settle();
  StartWindow& start = program().Get<StartWindow>();
  ASSERT_TRUE(Drawn(start));
  ExpectTidy(start);
  Screenshot(start, "Form5");
  Click(Handle(start.emergency_restore));
  EXPECT_EQ(start.emergency_restore.Value(), 1);
  EXPECT_EQ(SendMessageW(Handle(start.emergency_restore), BM_GETCHECK, 0, 0), BST_CHECKED);
  RestoreWindow& confirm = program().Get<RestoreWindow>();
  ASSERT_TRUE(Drawn(confirm));
  ExpectTidy(confirm);
  Screenshot(confirm, "Form12");
}

TEST_F(StartupWindowsTest, TheOperatorResizesTheMapAndItsDrawingFollows) {
  WriteBytes(File("config.txt"), kLoggingStationFile);
  FrontEnd();
  program().Start();
  program().Get<MainWindow>().map_button.Press();
  MapWindow& map = *program().Find<MapWindow>();
  Settle();
  HWND top = FrontEnd().WindowOf(map);
  RECT outer;
  GetWindowRect(top, &outer);
  // 100 pixels wider and 50 taller, as a drag of the window's corner gives.
  SetWindowPos(top, nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  Settle();
  RECT client;
  GetClientRect(top, &client);
  EXPECT_EQ(map.Width(), client.right * 15);
  EXPECT_EQ(map.Height(), client.bottom * 15);
  RECT drawing;
  GetWindowRect(Handle(map.map), &drawing);
  EXPECT_EQ(drawing.right - drawing.left, map.map.Width() / 15);
  ExpectTidy(map);
  // Never smaller than the window's minimum.
  SetWindowPos(top, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  Settle();
  EXPECT_EQ(map.Width(), map.MinimumWidth());
}

}  // namespace
}  // namespace keldra::testing
