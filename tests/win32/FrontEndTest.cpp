// The generic front end against Windows' real controls: typing reaches the model through its
// change handlers, the control shows what the model decided, consumed keys move the focus and
// type nothing, Tab follows the model's order, colours and locks reach the controls, and a long
// list grows by appending.
#include "Win32TestSupport.h"
#include "platform/CodePage.h"
#include "platform/Label.h"
#include "platform/TextBox.h"
#include "ui/Layout.h"

namespace keldra::testing {
namespace {

// A small window of its own: a box that upper-cases itself, one that Enter moves to, a list.
class CallsignForm : public Form {
 public:
  explicit CallsignForm(Screen& screen) : Form(screen, "Test", "Prova", Px(300), Px(200)) {
    Place(Call, 10, 10, 120, 24);
    Place(Next, 10, 40, 120, 24);
    Place(Log, 10, 70, 200, 100);
    Place(Caption, 140, 10, 150, 24);
    Log.SetMultiLine(true);
    Call.Change = [this] {
      Call.SetText(ToUpper1252(Call.Text()));
      Call.CaretToEnd();
    };
    Call.KeyDown = [this](int key_code, KeyModifiers, bool& handled) {
      if (key_code == key::kEnter || key_code == key::kSpace) {
        handled = true;
        Next.SetFocus();
      }
    };
  }
  TextBox Call{*this, "Call"};
  TextBox Next{*this, "Next"};
  TextBox Log{*this, "Log"};
  Label Caption{*this, "Caption", "Nominativo"};
};

// Counts the whole-text writes a control receives.
LRESULT CALLBACK CountSetText(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                              DWORD_PTR count) {
  if (message == WM_SETTEXT) {
    ++*reinterpret_cast<int*>(count);
  }
  return DefSubclassProc(hwnd, message, w, l);
}

class Win32FrontEndTest : public Win32ProgramTest {
 protected:
  void SetUp() override {
    form_ = std::make_unique<CallsignForm>(program().Desktop());
    FrontEnd();
    form_->Show();
    Settle();
  }
  void TearDown() override { form_->Unload(); }

  std::unique_ptr<CallsignForm> form_;
};

TEST_F(Win32FrontEndTest, TypingRunsTheChangeHandlerAndTheControlShowsItsResult) {
  form_->Call.SetFocus();
  ASSERT_EQ(GetFocus(), Handle(form_->Call));
  Keys("qx1abc/p");
  EXPECT_EQ(form_->Call.Text(), "QX1ABC/P");
  EXPECT_EQ(Shows(form_->Call), "QX1ABC/P");
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Handle(form_->Call), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, 8u);
  EXPECT_EQ(form_->Call.SelStart(), 8);
}

TEST_F(Win32FrontEndTest, AConsumedEnterOrSpaceMovesTheFocusAndTypesNothing) {
  for (UINT key : {static_cast<UINT>(VK_RETURN), static_cast<UINT>(VK_SPACE)}) {
    form_->Call.SetText("");
    form_->Call.SetFocus();
    Keys("ab");
    Key(key);
    EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Next);
    EXPECT_EQ(GetFocus(), Handle(form_->Next));
    EXPECT_EQ(Shows(form_->Call), "AB");
    EXPECT_EQ(Shows(form_->Next), "");
  }
}

TEST_F(Win32FrontEndTest, CodePageTextsCrossTheBoundaryBothWays) {
  form_->Next.SetText("citt\xE0 \x80");
  EXPECT_EQ(Shows(form_->Next), "citt\xE0 \x80");
  wchar_t shown[16] = {};
  GetWindowTextW(Handle(form_->Next), shown, 16);
  EXPECT_EQ(std::wstring(shown), L"citt\u00E0 \u20AC");
  // A character outside the code page becomes "?" in the model, and the control shows that.
  SetWindowTextW(Handle(form_->Next), L"\u0101b");
  Settle();
  EXPECT_EQ(form_->Next.Text(), "?b");
  GetWindowTextW(Handle(form_->Next), shown, 16);
  EXPECT_EQ(std::wstring(shown), L"?b");
}

TEST_F(Win32FrontEndTest, AppendingToTheListAppendsAndEditingKeepsCrLf) {
  int whole_writes = 0;
  HWND log = Handle(form_->Log);
  SetWindowSubclass(log, CountSetText, 7, reinterpret_cast<DWORD_PTR>(&whole_writes));
  std::string expected;
  for (int i = 0; i < 200; ++i) {
    const std::string line = std::to_string(1000 + i) + " citt\xE0\r\n";
    form_->Log.AppendText(line);
    expected += line;
  }
  Settle();
  EXPECT_EQ(whole_writes, 0);
  EXPECT_EQ(Shows(form_->Log), expected);

  form_->Log.SetText("");
  form_->Log.SetFocus();
  Keys("a\nb");
  EXPECT_EQ(form_->Log.Text(), "a\r\nb");
  RemoveWindowSubclass(log, CountSetText, 7);
}

TEST_F(Win32FrontEndTest, TabAndShiftTabFollowTheWindowsOrderSkippingHiddenControls) {
  form_->Next.SetVisible(false);
  form_->Call.SetFocus();
  Key(VK_TAB);
  EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Log);
  EXPECT_EQ(GetFocus(), Handle(form_->Log));
  EXPECT_EQ(form_->Log.Text(), "");  // no tab typed into the list
  form_->Next.SetVisible(true);
  Key(VK_TAB, true);
  EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Next);
  EXPECT_EQ(GetFocus(), Handle(form_->Next));
}

TEST_F(Win32FrontEndTest, AClickedControlTakesTheModelsFocus) {
  form_->Call.SetFocus();
  SetFocus(Handle(form_->Log));
  Settle();
  EXPECT_EQ(program().Desktop().ActiveControl(), &form_->Log);
}

TEST_F(Win32FrontEndTest, ALockedBoxRefusesTypingButGetsKeyDown) {
  int keys = 0;
  form_->Next.SetLocked(true);
  form_->Next.KeyDown = [&keys](int, KeyModifiers, bool&) { ++keys; };
  form_->Next.SetFocus();
  Keys("xy");
  EXPECT_EQ(form_->Next.Text(), "");
  EXPECT_EQ(Shows(form_->Next), "");
  EXPECT_EQ(keys, 2);
}

TEST_F(Win32FrontEndTest, HiddenControlsAndColoursFollowTheModel) {
  form_->Caption.SetVisible(false);
  EXPECT_FALSE(Shown(form_->Caption));
  form_->Caption.SetVisible(true);
  EXPECT_TRUE(Shown(form_->Caption));
  EXPECT_EQ(Shows(form_->Caption), "Nominativo");
  // The colour the control is painted with is the one the model holds.
  form_->Call.SetBackColor(kYellow);
  HDC dc = GetDC(Handle(form_->Call));
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(FrontEnd().WindowOf(*form_), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(Handle(form_->Call))));
  LOGBRUSH painted{};
  GetObjectW(brush, sizeof(painted), &painted);
  ReleaseDC(Handle(form_->Call), dc);
  EXPECT_EQ(painted.lbColor, RGB(255, 255, 0));
}

}  // namespace
}  // namespace keldra::testing
