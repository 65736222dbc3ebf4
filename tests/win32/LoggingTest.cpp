// Logging QSOs through Windows' real controls with the keyboard alone: characters, Enter and
// Space to move along the row (a Space moves on and types nothing), the arrows for the mode and
// Enter on "OK"; the QSO list grows by appending, and the files are the model's.
#include "Win32TestSupport.h"
#include "ui/MainWindow.h"

namespace keldra::testing {
namespace {

// Counts the whole-text writes the QSO list (a list box of its lines) receives.
// What the QSO list was told: its text set whole, and the focus given to it.
struct ListCounts {
  int whole_writes = 0;
  int focus = 0;
};

LRESULT CALLBACK CountListMessages(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                   DWORD_PTR counts) {
  auto& seen = *reinterpret_cast<ListCounts*>(counts);
  seen.whole_writes += message == WM_SETTEXT || message == LB_RESETCONTENT ? 1 : 0;
  seen.focus += message == WM_SETFOCUS ? 1 : 0;
  return DefSubclassProc(hwnd, message, w, l);
}

class LoggingTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kLoggingStationFile);
    FrontEnd();
    program().Start();
    Settle();
  }
  MainWindow& Main() { return program().Get<MainWindow>(); }
  // The control window that has Windows' focus agrees with the model's.
  void ExpectFocus(const Control& control) {
    EXPECT_EQ(program().Desktop().ActiveControl(), &control);
    EXPECT_EQ(GetFocus(), Handle(control)) << control.Name();
  }
};

TEST_F(LoggingTest, ThreeQsosFromTheKeyboard) {
  MainWindow& f = Main();
  ExpectFocus(f.call);
  ListCounts list_counts;
  SetWindowSubclass(Handle(f.qso_list), CountListMessages, 9,
                    reinterpret_cast<DWORD_PTR>(&list_counts));

  Keys("qx1aa ");
  EXPECT_EQ(Shows(f.call), "QX1AA");
  ExpectFocus(f.rst_sent);
  Keys(" \n7 jn71gd");
  EXPECT_EQ(Shows(f.serial_received), "007");
  EXPECT_EQ(Shows(f.locator), "JN71GD");
  EXPECT_TRUE(Shown(f.distance_caption));
  EXPECT_EQ(Shows(f.distance), " 168");
  Screenshot(f, "Form1_locator_typed");
  Keys("\n\n");
  ExpectFocus(f.ok_button);
  Keys("\n");
  EXPECT_EQ(Shows(f.total_qsos), "1");
  ExpectFocus(f.call);
  EXPECT_FALSE(Shown(f.distance_caption));
  EXPECT_FALSE(Shown(f.distance));
  EXPECT_EQ(Shows(f.call), "");
  EXPECT_EQ(Shows(f.qso_number), "002");

  // Second QSO in CW: back to the mode with the mouse, then the arrow key.
  Click(Handle(f.mode));
  ExpectFocus(f.mode);
  Key(VK_DOWN);
  EXPECT_EQ(Shows(f.mode), "CW");
  EXPECT_EQ(Shows(f.rst_received), "599");
  Keys("\nqx2bbb  \n12 jn91gd i3\n\n");
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(Shows(f.total_qsos), "2");

  // Third: the duplicate is refused with a message, the corrected call logs.
  Keys("qx1aa");
  EXPECT_TRUE(Shown(f.duplicate_warning));
  Keys("\n\n\n1 jn80gd\n\n\n");
  ASSERT_EQ(messages_.shown.size(), 1u);
  ExpectFocus(f.call);
  f.call.SetText("");
  Keys("QX3CCC\n\n\n\n\n\n\n");
  EXPECT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(Shows(f.total_qsos), "3");

  const std::string list = Shows(f.qso_list);
  EXPECT_EQ(list, f.qso_list.Text());
  EXPECT_NE(list.find("002   16/07/23   07.30   144Mhz   CW    QX2BBB      599-012  JN91GD   I3"),
            std::string::npos)
      << list;
  // Every QSO went into the list as an appended line; it was never written whole. "OK" passes
  // the model's focus through the list on its way back to the call: Windows' focus went straight.
  EXPECT_EQ(list_counts.whole_writes, 0);
  EXPECT_EQ(list_counts.focus, 0);
  EXPECT_EQ(ReadBytes(File("parziale.db")).substr(0, 9), "QSO# 004\r");
  Screenshot(f, "Form1_three_qsos");
  RemoveWindowSubclass(Handle(f.qso_list), CountListMessages, 9);
}

}  // namespace
}  // namespace keldra::testing
