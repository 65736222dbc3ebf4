// The control layer's promises to the windows: change handlers run at once and only for a
// different text, handlers that rewrite their own text settle, keys a handler consumes are not
// typed, locked boxes refuse typing, the caret follows the operator, lines keep their start,
// lists and check boxes click only on a real change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system/CodePage.h"
#include "widgets/Buttons.h"
#include "widgets/Form.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/Screen.h"
#include "widgets/TextBox.h"

namespace keldra {
namespace {

class TestForm : public Form {
 public:
  explicit TestForm(Screen& screen) : Form(screen, "FormT", "Test", 4800, 3600) {}
  TextBox box{*this, "Text1"};
  TextBox other_box{*this, "Text2"};
  Label label{*this, "Label1"};
  CheckBox check_box{*this, "Check1", "Socio"};
  ComboBox combo{*this, "Combo1"};
  ListBox list_box{*this, "List1"};
  PictureBox picture{*this, "Picture1"};
  Line line{*this, "Line1"};
  CommandButton button{*this, "Command1", "OK"};
};

class ControlsTest : public ::testing::Test {
 protected:
  Screen screen_;
  TestForm form_{screen_};
};

// Records what the front end would be told to redraw.
class RecordingObserver : public ScreenObserver {
 public:
  void ControlChanged(Control& control, Property property) override {
    changes.push_back({control.Name(), property});
  }
  void FormShown(Form&) override {}
  void FormHidden(Form&) override {}
  void FormUnloaded(Form&) override {}
  void FormCaptionChanged(Form&) override {}
  void FocusChanged(Control*) override {}
  std::vector<std::pair<std::string, Property>> changes;
};

TEST_F(ControlsTest, ChangeRunsOncePerDifferentWriteAndNeverForTheSameText) {
  struct Case {
    const char* name;
    std::vector<std::string> writes;
    int changes;
  };
  const Case cases[] = {
      {"same as initial empty text", {""}, 0},      {"one new text", {"IW3ABC"}, 1},
      {"same text twice", {"IW3ABC", "IW3ABC"}, 1}, {"back and forth", {"A", "B", "A"}, 3},
      {"case differs", {"abc", "ABC"}, 2},          {"cleared after text", {"X", ""}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Screen screen;
    TestForm form(screen);
    int changes = 0;
    form.box.Change = [&] { ++changes; };
    for (const std::string& text : c.writes) {
      form.box.SetText(text);
    }
    EXPECT_EQ(changes, c.changes);
    EXPECT_EQ(form.box.Text(), c.writes.back());
  }
}

TEST_F(ControlsTest, ChangeHasRunBeforeSetTextReturns) {
  form_.box.Change = [&] { form_.other_box.SetText("seen " + form_.box.Text()); };
  form_.box.SetText("JN55");
  EXPECT_EQ(form_.other_box.Text(), "seen JN55");
}

TEST_F(ControlsTest, UpperCasingHandlerReentersOnceAndSettles) {
  TextBox& box = form_.box;
  int runs = 0;
  std::vector<std::string> seen_after_rewrite;
  box.Change = [&] {
    ++runs;
    box.SetText(ToUpper1252(box.Text()));
    // Every level, outer ones included, sees the settled text after its own write.
    seen_after_rewrite.push_back(box.Text());
  };
  box.SetText(Cp1252("città"));
  EXPECT_EQ(box.Text(), Cp1252("CITTÀ"));
  EXPECT_EQ(runs, 2);  // the write from code, then the handler's own rewrite
  EXPECT_EQ(seen_after_rewrite, (std::vector<std::string>{Cp1252("CITTÀ"), Cp1252("CITTÀ")}));

  runs = 0;
  box.SetText("IW3ABC");  // already upper case: no rewrite
  EXPECT_EQ(runs, 1);
}

TEST_F(ControlsTest, ZeroFillingHandlerSettles) {
  TextBox& box = form_.box;
  int runs = 0;
  box.Change = [&] {
    ++runs;
    const std::string& text = box.Text();
    if (text.size() < 3) {
      box.SetText(std::string(3 - text.size(), '0') + text);
    }
  };
  struct Case {
    const char* written;
    const char* settled;
    int runs;
  };
  const Case cases[] = {{"7", "007", 2}, {"42", "042", 2}, {"123", "123", 1}, {"1234", "1234", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    runs = 0;
    box.SetText(c.written);
    EXPECT_EQ(box.Text(), c.settled);
    EXPECT_EQ(runs, c.runs);
  }
  // The cleared box fills up too: "" differs from "1234".
  runs = 0;
  box.SetText("");
  EXPECT_EQ(box.Text(), "000");
  EXPECT_EQ(runs, 2);
}

TEST_F(ControlsTest, TypingThroughAnUpperCasingHandler) {
  TextBox& box = form_.box;
  box.Change = [&] { box.SetText(ToUpper1252(box.Text())); };
  box.Type("iw3abc");
  EXPECT_EQ(box.Text(), "IW3ABC");
  EXPECT_EQ(box.SelStart(), 6);
}

TEST_F(ControlsTest, AppendTextRunsChangeAndTellsTheFrontEndOnlyTheTail) {
  RecordingObserver observer;
  screen_.SetObserver(&observer);
  TextBox& list = form_.box;
  list.SetMultiLine(true);
  std::vector<std::string> seen;
  list.Change = [&] { seen.push_back(list.Text()); };

  list.AppendText("line 1\r\n");
  list.AppendText("line 2\r\n");
  list.AppendText("");  // nothing appended, nothing changed

  EXPECT_EQ(list.Text(), "line 1\r\nline 2\r\n");
  EXPECT_EQ(seen, (std::vector<std::string>{"line 1\r\n", "line 1\r\nline 2\r\n"}));
  ASSERT_EQ(observer.changes.size(), 2u);
  for (const auto& change : observer.changes) {
    EXPECT_EQ(change.second, Property::kTextAppended);
  }

  observer.changes.clear();
  list.SetText("other");
  ASSERT_EQ(observer.changes.size(), 1u);
  EXPECT_EQ(observer.changes[0].second, Property::kText);
  screen_.SetObserver(nullptr);
}

// A handler that moves on with Enter and Space, as the entry row does.
class KeysTest : public ControlsTest {
 protected:
  KeysTest() {
    form_.box.KeyDown = [this](int code, KeyModifiers, bool& handled) {
      keys_.push_back(code);
      if (code == key::kEnter || code == key::kSpace) {
        handled = true;
      }
    };
    form_.box.Change = [this] { ++changes_; };
  }
  std::vector<int> keys_;
  int changes_ = 0;
};

TEST_F(KeysTest, HandledKeysAreNotTyped) {
  form_.box.Type("ab c\r");
  EXPECT_EQ(form_.box.Text(), "abc");
  EXPECT_EQ(keys_, (std::vector<int>{'A', 'B', key::kSpace, 'C', key::kEnter}));
  EXPECT_EQ(changes_, 3);
  EXPECT_TRUE(form_.box.PressKey(key::kEnter));
  EXPECT_FALSE(form_.box.PressKey(key::kUp));
}

TEST_F(ControlsTest, UnhandledKeysAreTyped) {
  form_.box.Type("a b");
  EXPECT_EQ(form_.box.Text(), "a b");
  // Enter in a single-line box inserts nothing even when nobody handles it.
  form_.box.Type("\r\n");
  EXPECT_EQ(form_.box.Text(), "a b");
}

TEST_F(KeysTest, LockedBoxRefusesTypingButGetsKeyDown) {
  form_.box.SetText("I1ABC");
  changes_ = 0;
  form_.box.SetLocked(true);
  form_.box.CaretToEnd();

  form_.box.Type("xy");
  form_.box.Backspace();

  EXPECT_EQ(form_.box.Text(), "I1ABC");
  EXPECT_EQ(keys_, (std::vector<int>{'X', 'Y', key::kBackspace}));
  EXPECT_EQ(changes_, 0);
  // Code still writes a locked box.
  form_.box.SetText("I2XYZ");
  EXPECT_EQ(form_.box.Text(), "I2XYZ");
  EXPECT_EQ(changes_, 1);
}

TEST_F(KeysTest, Backspace) {
  struct Case {
    const char* name;
    const char* text;
    int caret;
    const char* after;
    int caret_after;
    int changes;
  };
  const Case cases[] = {
      {"at the end", "abc", 3, "ab", 2, 1},
      {"in the middle", "abc", 1, "bc", 0, 1},
      {"at the start", "abc", 0, "abc", 0, 0},
      {"empty box", "", 0, "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form_.box.SetText(c.text);
    form_.box.SetSelStart(c.caret);
    changes_ = 0;
    keys_.clear();
    form_.box.Backspace();
    EXPECT_EQ(form_.box.Text(), c.after);
    EXPECT_EQ(form_.box.SelStart(), c.caret_after);
    EXPECT_EQ(changes_, c.changes);
    EXPECT_EQ(keys_, std::vector<int>{key::kBackspace});
  }
}

TEST_F(KeysTest, ASelectionIsReplacedByTypingAndDeletedByBackspace) {
  struct Case {
    const char* name;
    int start;
    int length;
    const char* typed;  // "\b" is Backspace
    const char* after;
    int caret_after;
  };
  const Case cases[] = {
      {"all, typed over", 0, 6, "j", "j", 1},
      {"all, Backspace", 0, 6, "\b", "", 0},
      {"middle, typed over", 2, 2, "xy", "JNxyAB", 4},
      {"middle, Backspace", 2, 2, "\b", "JNAB", 2},
      {"length clamped to the text", 4, 9, "z", "JN61z", 5},
      {"no selection inserts", 6, 0, "x", "JN61ABx", 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form_.box.SetText("JN61AB");
    form_.box.Select(c.start, c.length);
    for (const char* k = c.typed; *k != 0; ++k) {
      if (*k == '\b') {
        form_.box.Backspace();
      } else {
        form_.box.Type(std::string(1, *k));
      }
    }
    EXPECT_EQ(form_.box.Text(), c.after);
    EXPECT_EQ(form_.box.SelStart(), c.caret_after);
    EXPECT_EQ(form_.box.SelLength(), 0);
  }
}

TEST_F(ControlsTest, ANewTextOrCaretDropsTheSelection) {
  TextBox& box = form_.box;
  box.SetText("JN61AB");
  box.SelectAll();
  EXPECT_EQ(box.SelectedText(), "JN61AB");
  box.SetSelStart(2);
  EXPECT_EQ(box.SelLength(), 0);
  box.SetSelLength(3);
  EXPECT_EQ(box.SelectedText(), "61A");
  box.SetText("JN52CD");
  EXPECT_EQ(box.SelLength(), 0);
}

TEST_F(ControlsTest, BackspaceConsumedByKeyDownDeletesNothing) {
  form_.box.SetText("abc");
  form_.box.CaretToEnd();
  form_.box.KeyDown = [](int code, KeyModifiers, bool& handled) {
    handled = code == key::kBackspace;
  };
  form_.box.Backspace();
  EXPECT_EQ(form_.box.Text(), "abc");
}

TEST_F(ControlsTest, CaretStaysAtTheInsertionPointUnlessAHandlerMovesIt) {
  TextBox& box = form_.box;
  box.SetText("ac");
  box.SetSelStart(1);
  box.Type("b");
  EXPECT_EQ(box.Text(), "abc");
  EXPECT_EQ(box.SelStart(), 2);

  // An upper-casing handler that does not touch the caret leaves it where the operator typed.
  box.Change = [&] { box.SetText(ToUpper1252(box.Text())); };
  box.SetSelStart(1);
  box.Type("x");
  EXPECT_EQ(box.Text(), "AXBC");
  EXPECT_EQ(box.SelStart(), 2);

  // A code field puts the caret at the end on every change.
  box.Change = [&] {
    box.SetText(ToUpper1252(box.Text()));
    box.CaretToEnd();
  };
  box.SetSelStart(0);
  box.Type("q");
  EXPECT_EQ(box.Text(), "QAXBC");
  EXPECT_EQ(box.SelStart(), 5);
}

TEST_F(ControlsTest, CaretIsClampedToTheText) {
  TextBox& box = form_.box;
  box.SetText("abcdef");
  box.CaretToEnd();
  box.SetText("ab");  // shorter text from code
  EXPECT_EQ(box.SelStart(), 2);
  box.SetSelStart(99);
  EXPECT_EQ(box.SelStart(), 2);
  box.SetSelStart(-5);
  EXPECT_EQ(box.SelStart(), 0);
}

TEST_F(ControlsTest, LabelChangeRunsOnlyForADifferentCaption) {
  int changes = 0;
  form_.label.Change = [&] { ++changes; };
  form_.label.SetCaption("12");
  form_.label.SetCaption("12");
  form_.label.SetCaption("13");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(form_.label.Caption(), "13");
}

TEST_F(ControlsTest, LineKeepsItsStartWhenTheEndMoves) {
  Line& line = form_.line;
  line.SetPoints(1200, 1200, 1200, 0);
  const int ends[][2] = {{2400, 1200}, {1200, 2400}, {0, 1200}, {1200, 1200}};
  for (const auto& end : ends) {
    line.SetEnd(end[0], end[1]);
    EXPECT_EQ(line.X1(), 1200);
    EXPECT_EQ(line.Y1(), 1200);
    EXPECT_EQ(line.X2(), end[0]);
    EXPECT_EQ(line.Y2(), end[1]);
  }
}

void ExpectClickOnChangedIndexOnly(ListControl& list) {
  int clicks = 0;
  std::vector<std::string> seen;
  list.Click = [&] {
    ++clicks;
    seen.push_back(list.Text());
  };
  list.AddItem("SSB");
  list.AddItem("CW");
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(list.Text(), "");

  list.SetListIndex(1);
  list.SetListIndex(1);   // the same choice again
  list.SetListIndex(2);   // past the last item: ignored
  list.SetListIndex(-2);  // before "nothing chosen": ignored
  list.SetListIndex(0);
  list.SetListIndex(-1);
  EXPECT_EQ(clicks, 3);
  // Click sees the new choice already made.
  EXPECT_EQ(seen, (std::vector<std::string>{"CW", "SSB", ""}));
  list.Click = nullptr;
}

TEST_F(ControlsTest, ComboBoxClicksOnAChangedIndexOnly) {
  ExpectClickOnChangedIndexOnly(form_.combo);
}

TEST_F(ControlsTest, ListBoxClicksOnAChangedIndexOnly) {
  ExpectClickOnChangedIndexOnly(form_.list_box);
}

TEST_F(ControlsTest, CheckBoxClicksOnAChangedValueOnly) {
  CheckBox& check = form_.check_box;
  std::vector<int> seen;
  check.Click = [&] { seen.push_back(check.Value()); };
  check.SetValue(0);  // already unticked
  check.SetValue(1);
  check.SetValue(1);
  check.Toggle();
  check.Toggle();
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1}));
}

TEST_F(ControlsTest, ButtonPressRunsClickEvenWhenHidden) {
  CommandButton& button = form_.button;
  int clicks = 0;
  button.Click = [&] { ++clicks; };
  button.Press();
  button.SetVisible(false);
  button.Press();
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace keldra
