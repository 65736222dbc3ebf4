// The generic front end against Windows' real controls: typing reaches the model through its
// change handlers, the control shows what the model decided, consumed keys move the focus and
// type nothing, Tab follows the model's order, colours and locks reach the controls, and a long
// list grows by appending.
#include <thread>

#include "Win32TestSupport.h"
#include "support/KeyRulesTable.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "widgets/Buttons.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"
#include "win32/Win32Background.h"

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
    Place(Band, 140, 40, 100, 24);
    Place(Tick, 140, 70, 150, 24);
    Place(Lines, 10, 175, 280, 20);
    Place(Later, 220, 100, 70, 24);
    Later.SetVisible(false);
    Log.SetMultiLine(true);
    Lines.SetMultiLine(true);
    Lines.SetLocked(true);
    Lines.SetFont({.fixed_pitch = true});
    Band.AddItem("144");
    Band.AddItem("432");
    Band.SetListIndex(0);
    Call.SetToolTip("Nominativo del corrispondente");
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
  TextBox Lines{*this, "Lines"};
  Label Caption{*this, "Caption", "Nominativo"};
  ComboBox Band{*this, "Band"};
  CheckBox Tick{*this, "Tick", "Off-line"};
  CommandButton Later{*this, "Later", "Dopo"};
};

// Counts the whole-text writes a control receives.
LRESULT CALLBACK CountSetText(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                              DWORD_PTR count) {
  if (message == WM_SETTEXT || message == LB_RESETCONTENT) {
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

TEST_F(Win32FrontEndTest, ALockedListShowsItsLinesGrowsByThemAndCopiesWholeLines) {
  int whole_writes = 0;
  HWND lines = Handle(form_->Lines);
  SetWindowSubclass(lines, CountSetText, 8, reinterpret_cast<DWORD_PTR>(&whole_writes));
  std::string expected;
  // A line may come in parts, its line end split from it too.
  for (const std::string part : {"001 citt\xE0\r\n", "002 a", "ltro\r", "\n", "003\r\n"}) {
    form_->Lines.AppendText(part);
    expected += part;
    Settle();
  }
  for (int i = 4; i < 200; ++i) {
    expected += std::to_string(1000 + i) + "\r\n";
    form_->Lines.AppendText(std::to_string(1000 + i) + "\r\n");
  }
  form_->Lines.CaretToEnd();
  Settle();
  EXPECT_EQ(whole_writes, 0);
  EXPECT_EQ(Shows(form_->Lines), expected);
  const LRESULT top = SendMessageW(lines, LB_GETTOPINDEX, 0, 0);
  EXPECT_GE(top, 198);  // the newest line in sight

  // A key reaches the model and leaves the list where it was; Ctrl+A and Ctrl+C copy it all.
  int keys = 0;
  form_->Lines.KeyDown = [&keys](int, KeyModifiers, bool&) { ++keys; };
  form_->Lines.SetFocus();
  Key(VK_F5);
  EXPECT_EQ(keys, 1);
  EXPECT_EQ(SendMessageW(lines, LB_GETTOPINDEX, 0, 0), top);
  Key('A', false, true);
  Key('C', false, true);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE copied = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(win32::Narrow(static_cast<const wchar_t*>(GlobalLock(copied))), expected);
  GlobalUnlock(copied);
  CloseClipboard();

  form_->Lines.SetText("a\r\nb");
  Settle();
  EXPECT_EQ(whole_writes, 1);
  EXPECT_EQ(Shows(form_->Lines), "a\r\nb\r\n");
  RemoveWindowSubclass(lines, CountSetText, 8);
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

// A control hidden when its window was built has no window until it first shows; then it
// shows its caption and takes clicks as the others.
TEST_F(Win32FrontEndTest, AControlHiddenAtFirstGetsItsWindowWhenItShows) {
  int presses = 0;
  form_->Later.Click = [&presses] { ++presses; };
  EXPECT_EQ(Handle(form_->Later), nullptr);
  form_->Later.SetVisible(true);
  ASSERT_TRUE(Shown(form_->Later));
  EXPECT_EQ(Shows(form_->Later), "Dopo");
  Click(Handle(form_->Later));
  EXPECT_EQ(presses, 1);
}

// A label is no window: the window it is painted on takes the click on it.
TEST_F(Win32FrontEndTest, AClickOnALabelReachesItsHandler) {
  int clicks = 0;
  form_->Caption.Click = [&clicks] { ++clicks; };
  Settle();
  const auto label = FrontEnd().LabelOf(form_->Caption);
  ASSERT_TRUE(label.has_value());
  const LPARAM at = MAKELPARAM((label->place.left + label->place.right) / 2,
                               (label->place.top + label->place.bottom) / 2);
  PostMessageW(label->host, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(label->host, WM_LBUTTONUP, 0, at);
  Settle();
  EXPECT_EQ(clicks, 1);
}

// A word-wrapped label just wide enough for its digits shows them, though its caption starts with
// a blank (the ODX distance's " 1318") where Windows would break the line.
TEST_F(Win32FrontEndTest, ALeadingBlankDoesNotPushANarrowLabelsTextOutOfSight) {
  Label& label = form_->Caption;
  label.SetFont({.bold = true});
  label.SetAlign(Alignment::kRight);
  Settle();
  HWND host = FrontEnd().LabelOf(label)->host;
  auto width_of = [&](const wchar_t* text) {
    HDC dc = GetDC(host);
    HGDIOBJ old = SelectObject(dc, FrontEnd().LabelOf(label)->font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(host, dc);
    return size.cx;
  };
  const LONG digits = width_of(L"1318");
  ASSERT_GT(width_of(L" 1318"), digits + 1);
  Place(label, 140, 10, static_cast<int>(digits) + 1, 19);
  label.SetCaption(" 1318");
  Settle();
  RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  // The dark pixels of the label as drawn on the screen, in its place.
  const RECT place = FrontEnd().LabelOf(label)->place;
  const std::vector<DWORD> pixels = Captured(host, place.right, place.bottom);
  int ink = 0;
  for (int y = place.top; y < place.bottom; ++y) {
    for (int x = place.left; x < place.right; ++x) {
      const DWORD c = pixels[static_cast<std::size_t>(y * place.right + x)];
      ink += (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 200 ? 1 : 0;
    }
  }
  EXPECT_GT(ink, 20);
}

// The model's key handlers get the key with the modifiers held (Ctrl+R turns the antenna).
TEST_F(Win32FrontEndTest, KeyDownGetsTheModifiersHeld) {
  std::vector<std::pair<int, KeyModifiers>> keys;
  form_->Next.KeyDown = [&keys](int key_code, KeyModifiers held, bool&) {
    keys.emplace_back(key_code, held);
  };
  form_->Next.SetFocus();
  Settle();
  Key('R', false, true);
  Key('L', true, true);
  Key(VK_F1);
  EXPECT_EQ(keys,
            (std::vector<std::pair<int, KeyModifiers>>{
                {'R', {.control = true}}, {'L', {.shift = true, .control = true}}, {VK_F1, {}}}));
}

// Text in Segoe UI 9 points (Tahoma where it is missing, as under Wine), bold where the model
// says, the fixed-pitch face for a list of columns.
TEST_F(Win32FrontEndTest, FontsAreTheWindowsOnesAtTheModelsSizes) {
  form_->Caption.SetFont({.bold = true});
  Settle();
  auto font_of = [](HWND hwnd) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
  };
  const LOGFONTW call = font_of(Handle(form_->Call));
  const std::wstring face = call.lfFaceName;
  EXPECT_TRUE(face == L"Segoe UI" || face == L"Tahoma") << win32::Narrow(face);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(call.lfHeight, -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(call.lfWeight, FW_NORMAL);
  LOGFONTW label{};
  GetObjectW(FrontEnd().LabelOf(form_->Caption)->font, sizeof(label), &label);
  EXPECT_EQ(label.lfWeight, FW_BOLD);
  const std::wstring fixed = font_of(Handle(form_->Lines)).lfFaceName;
  EXPECT_TRUE(fixed == L"Consolas" || fixed == L"Courier New") << win32::Narrow(fixed);
}

TEST_F(Win32FrontEndTest, ChoicesTicksAndToolTipsReachBothSides) {
  form_->Band.SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(form_->Band.ListIndex(), 1);
  form_->Band.SetListIndex(0);
  EXPECT_EQ(SendMessageW(Handle(form_->Band), CB_GETCURSEL, 0, 0), 0);
  form_->Tick.SetFocus();
  Key(VK_SPACE);
  EXPECT_EQ(form_->Tick.Value(), 1);
  form_->Tick.SetValue(0);
  EXPECT_EQ(SendMessageW(Handle(form_->Tick), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  for (; tips != nullptr; tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tips, GW_OWNER) == FrontEnd().WindowOf(*form_)) {
      break;
    }
  }
  ASSERT_NE(tips, nullptr);
  wchar_t text[80] = {};
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = FrontEnd().WindowOf(*form_);
  tool.uId = reinterpret_cast<UINT_PTR>(Handle(form_->Call));
  tool.lpszText = text;
  SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(text), L"Nominativo del corrispondente");
}

TEST_F(Win32FrontEndTest, TheManifestGivesTheCommonControlsSix) {
  // The common controls the program's own calls reach (the manifest picks the library).
  HMODULE controls = nullptr;
  ASSERT_TRUE(GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&InitCommonControlsEx)), &controls));
  // Version 6 is the side-by-side assembly the manifest names; Wine's copy of it still reports
  // 5.81 from DllGetVersion, so the test asks where the library was loaded from.
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(controls, path.data(), MAX_PATH));
  CharLowerW(path.data());
  EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."), std::wstring::npos)
      << win32::Narrow(path);
}

// Catches the message box as it opens, checks who owns it and closes it.
HWND g_owner_seen = nullptr;
HICON g_icon_seen = nullptr;
LRESULT CALLBACK CloseMessageBox(int code, WPARAM w, LPARAM l) {
  wchar_t window_class[16] = {};
  if (code == HCBT_ACTIVATE && GetClassNameW(reinterpret_cast<HWND>(w), window_class, 16) > 0 &&
      std::wstring(window_class) == L"#32770") {
    auto box = reinterpret_cast<HWND>(w);
    g_owner_seen = GetWindow(box, GW_OWNER);
    // The box's icon is a static control with an icon in it.
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (const LRESULT icon = SendMessageW(child, STM_GETICON, 0, 0); icon != 0) {
        g_icon_seen = reinterpret_cast<HICON>(icon);
      }
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, w, l);
}

TEST_F(Win32FrontEndTest, AMessageBoxIsModalToTheActiveWindowWithItsIcon) {
  win32::Win32MessageBox messages;
  messages.Attach(&FrontEnd());
  // Windows' own icons, which the box shows as they are loaded here (shared handles).
  const std::pair<MessageIcon, HICON> cases[] = {
      {MessageIcon::kCritical, LoadIconW(nullptr, MAKEINTRESOURCEW(32513))},     // IDI_ERROR
      {MessageIcon::kInformation, LoadIconW(nullptr, MAKEINTRESOURCEW(32516))},  // IDI_INFORMATION
      {MessageIcon::kNone, nullptr}};
  for (const auto& [icon, expected] : cases) {
    g_owner_seen = nullptr;
    g_icon_seen = nullptr;
    HHOOK hook = SetWindowsHookExW(WH_CBT, CloseMessageBox, nullptr, GetCurrentThreadId());
    messages.Show("Nominativo già lavorato", "Keldra", icon);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_owner_seen, FrontEnd().WindowOf(*form_)) << static_cast<int>(icon);
    EXPECT_EQ(g_icon_seen, expected) << static_cast<int>(icon);
  }
}

TEST(Win32BackgroundTest, WorkRunsAwayAndItsResultComesBackOnTheWindowsThread) {
  const std::thread::id windows_thread = std::this_thread::get_id();
  std::thread::id worked_on;
  std::thread::id done_on;
  bool done = false;
  {
    win32::Win32Background background;
    background.Run([&worked_on] { worked_on = std::this_thread::get_id(); },
                   [&] {
                     done_on = std::this_thread::get_id();
                     done = true;
                   });
    for (int i = 0; i < 500 && !done; ++i) {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
      }
      Sleep(2);
    }
  }
  ASSERT_TRUE(done);
  EXPECT_NE(worked_on, windows_thread);
  EXPECT_EQ(done_on, windows_thread);

  // A result still queued when the service ends is dropped, never run.
  bool late = false;
  {
    win32::Win32Background background;
    background.Run([] {}, [&late] { late = true; });
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    DispatchMessageW(&message);
  }
  EXPECT_FALSE(late);
}

class Win32KeyRulesTest : public Win32ProgramTest, public KeyPlayer {
 public:
  void Press(int key_code, KeyModifiers held) override {
    Key(static_cast<UINT>(key_code), held.shift, held.control);
  }
  void Type(const std::string& text) override { Keys(text); }
  void Settle() override { Win32ProgramTest::Settle(); }
};

TEST_F(Win32KeyRulesTest, TheSharedKeyRules) {
  KeyRulesForm form(program().Desktop());
  FrontEnd();
  form.Show();
  Settle();
  PlayKeyRules(form, *this);
  form.Unload();
}

}  // namespace
}  // namespace keldra::testing
