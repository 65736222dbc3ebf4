// The single focus owner and the active window: focus events in order, handlers that move the
// focus on, controls that cannot take it, the Tab order, and the activation passing back to the
// previous window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Buttons.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Label.h"
#include "platform/Screen.h"
#include "platform/TextBox.h"

namespace keldra {
namespace {

using Log = std::vector<std::string>;

// Text1, Label1, Text2 (hidden), Text3 (disabled), Text4 in the hidden Frame1, Text5, Command1:
// the focusable ones in tab order are Text1, Text5 and Command1.
class FocusForm : public Form {
 public:
  FocusForm(Screen& screen, std::string name, Log& log)
      : Form(screen, name, name, 4800, 3600), log_(log) {
    Text2.SetVisible(false);
    Text3.SetEnabled(false);
    Frame1.SetVisible(false);
    Text4.SetContainer(&Frame1);
    for (Control* control : Controls()) {
      const std::string id = Name() + "." + control->Name();
      control->GotFocus = [this, id] { log_.push_back(id + " got"); };
      control->LostFocus = [this, id] { log_.push_back(id + " lost"); };
    }
  }

  TextBox Text1{*this, "Text1"};
  Label Label1{*this, "Label1"};
  TextBox Text2{*this, "Text2"};
  TextBox Text3{*this, "Text3"};
  Frame Frame1{*this, "Frame1"};
  TextBox Text4{*this, "Text4"};
  TextBox Text5{*this, "Text5"};
  CommandButton Command1{*this, "Command1"};

 protected:
  void OnLoad() override { log_.push_back(Name() + " load"); }
  void OnActivate() override { log_.push_back(Name() + " activate"); }
  void OnUnload() override { log_.push_back(Name() + " unload"); }

 private:
  Log& log_;
};

class FocusTest : public ::testing::Test {
 protected:
  FocusTest() { a_.Show(); }

  Log log_;
  Screen screen_;
  FocusForm a_{screen_, "A", log_};
  FocusForm b_{screen_, "B", log_};
  FocusForm c_{screen_, "C", log_};
};

TEST_F(FocusTest, LostFocusOfTheOldBeforeGotFocusOfTheNew) {
  a_.Text1.SetFocus();
  a_.Text5.SetFocus();
  a_.Text5.SetFocus();  // already there: nothing runs
  EXPECT_EQ(log_, (Log{"A activate", "A.Text1 got", "A.Text1 lost", "A.Text5 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.Text5);
  EXPECT_TRUE(a_.Text5.HasFocus());
  EXPECT_FALSE(a_.Text1.HasFocus());
}

TEST_F(FocusTest, GotFocusThatMovesTheFocusOn) {
  a_.Text1.SetFocus();
  log_.clear();
  a_.Text5.GotFocus = [&] {
    log_.push_back("A.Text5 got");
    a_.Command1.SetFocus();
  };
  a_.Text5.SetFocus();
  EXPECT_EQ(log_, (Log{"A.Text1 lost", "A.Text5 got", "A.Text5 lost", "A.Command1 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.Command1);
}

TEST_F(FocusTest, LostFocusThatSendsTheFocusElsewhere) {
  // The control the focus was headed for never had it: it gets neither event.
  a_.Text1.SetFocus();
  log_.clear();
  a_.Text1.LostFocus = [&] {
    log_.push_back("A.Text1 lost");
    a_.Command1.SetFocus();
  };
  a_.Text5.SetFocus();
  EXPECT_EQ(log_, (Log{"A.Text1 lost", "A.Command1 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.Command1);
}

TEST_F(FocusTest, LostFocusThatKeepsTheFocusWhereItWas) {
  // The check of a field that puts the cursor back into it.
  a_.Text1.SetFocus();
  log_.clear();
  bool refuse = true;
  a_.Text1.LostFocus = [&] {
    log_.push_back("A.Text1 lost");
    if (refuse) {
      refuse = false;
      a_.Text1.SetFocus();
    }
  };
  a_.Text5.SetFocus();
  EXPECT_EQ(log_, (Log{"A.Text1 lost", "A.Text1 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.Text1);
}

TEST_F(FocusTest, ControlsThatCannotTakeTheFocus) {
  struct Case {
    const char* name;
    Control* control;
  };
  FocusForm& f = a_;
  f.Text1.SetFocus();
  const Case cases[] = {
      {"hidden", &f.Text2}, {"disabled", &f.Text3}, {"in a hidden frame", &f.Text4},
      {"label", &f.Label1}, {"frame", &f.Frame1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log_.clear();
    c.control->SetFocus();
    EXPECT_EQ(screen_.ActiveControl(), &f.Text1);
    EXPECT_TRUE(log_.empty());
  }
  // In a visible but disabled frame.
  f.Frame1.SetVisible(true);
  f.Frame1.SetEnabled(false);
  f.Text4.SetFocus();
  EXPECT_EQ(screen_.ActiveControl(), &f.Text1);
  f.Frame1.SetEnabled(true);
  f.Text4.SetFocus();
  EXPECT_EQ(screen_.ActiveControl(), &f.Text4);
}

TEST_F(FocusTest, TabSkipsHiddenDisabledAndNonFocusableControls) {
  struct Case {
    const char* name;
    Control* from;  // null: nothing has the focus yet
    bool backwards;
    Control* to;
  };
  FocusForm& f = a_;
  const Case cases[] = {
      {"first field", nullptr, false, &f.Text1},
      {"last field backwards", nullptr, true, &f.Command1},
      {"over label, hidden, disabled and hidden frame", &f.Text1, false, &f.Text5},
      {"to the button", &f.Text5, false, &f.Command1},
      {"wraps to the first", &f.Command1, false, &f.Text1},
      {"back over the skipped ones", &f.Text5, true, &f.Text1},
      {"wraps to the last backwards", &f.Text1, true, &f.Command1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Screen screen;
    Log log;
    FocusForm form(screen, "A", log);
    form.Show();
    // The same control of the fresh window.
    if (c.from != nullptr) form.Find(c.from->Name())->SetFocus();
    screen.FocusNext(c.backwards);
    ASSERT_NE(screen.ActiveControl(), nullptr);
    EXPECT_EQ(screen.ActiveControl()->Name(), c.to->Name());
  }
}

TEST_F(FocusTest, TabReachesAControlOnceItsFrameIsShown) {
  a_.Frame1.SetVisible(true);
  a_.Text1.SetFocus();
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.Text4);
}

TEST_F(FocusTest, TabFollowsAnOrderTheWindowSets) {
  a_.SetTabOrder({&a_.Command1, &a_.Text2, &a_.Text5, &a_.Text1});
  a_.Command1.SetFocus();
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.Text5);
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.Text1);
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.Command1);
}

TEST_F(FocusTest, TabRunsTheFocusEvents) {
  a_.Text1.SetFocus();
  log_.clear();
  screen_.FocusNext(false);
  EXPECT_EQ(log_, (Log{"A.Text1 lost", "A.Text5 got"}));
}

TEST_F(FocusTest, ShowingActivatesOnceAndHidingPassesActivationBack) {
  b_.Show();
  b_.Show();  // already the active window
  EXPECT_EQ(screen_.ActiveForm(), &b_);
  b_.Hide();
  EXPECT_EQ(screen_.ActiveForm(), &a_);
  EXPECT_EQ(log_, (Log{"A activate", "B activate", "A activate"}));
}

TEST_F(FocusTest, UnloadingPassesActivationToTheMostRecentVisibleWindow) {
  b_.Show();
  c_.Show();
  log_.clear();
  c_.Unload();
  EXPECT_EQ(screen_.ActiveForm(), &b_);
  EXPECT_FALSE(c_.Loaded());
  b_.Unload();
  EXPECT_EQ(screen_.ActiveForm(), &a_);
  EXPECT_EQ(log_, (Log{"C unload", "B activate", "B unload", "A activate"}));
}

TEST_F(FocusTest, HidingAnInactiveWindowLeavesTheActiveOneAlone) {
  b_.Show();
  log_.clear();
  a_.Hide();
  EXPECT_EQ(screen_.ActiveForm(), &b_);
  EXPECT_TRUE(log_.empty());
  // A hidden window is skipped when the activation passes back.
  c_.Show();
  c_.Hide();
  EXPECT_EQ(screen_.ActiveForm(), &b_);
  b_.Hide();
  EXPECT_EQ(screen_.ActiveForm(), nullptr);
}

TEST_F(FocusTest, FocusLeavesWithItsWindow) {
  b_.Show();
  b_.Text1.SetFocus();
  b_.Hide();
  EXPECT_EQ(screen_.ActiveControl(), nullptr);
  EXPECT_EQ(screen_.ActiveForm(), &a_);
  c_.Show();
  c_.Text5.SetFocus();
  c_.Unload();
  EXPECT_EQ(screen_.ActiveControl(), nullptr);
  // An unloaded window's controls cannot take the focus back.
  c_.Text5.SetFocus();
  EXPECT_EQ(screen_.ActiveControl(), nullptr);
}

TEST_F(FocusTest, FocusingAControlOfAnotherWindowActivatesItFirst) {
  b_.Show();
  a_.Text1.SetFocus();  // brings A back
  EXPECT_EQ(screen_.ActiveForm(), &a_);
  EXPECT_EQ(log_, (Log{"A activate", "B activate", "A activate", "A.Text1 got"}));
}

TEST_F(FocusTest, LoadAndUnloadRunOnceAndAnUnloadedWindowStaysClosed) {
  b_.RunLoad();
  b_.RunLoad();
  b_.Show();
  b_.Unload();
  b_.Unload();
  b_.Show();  // the registry creates a new window instead
  EXPECT_FALSE(b_.Visible());
  EXPECT_EQ(screen_.ActiveForm(), &a_);
  EXPECT_EQ(log_, (Log{"A activate", "B load", "B activate", "B unload", "A activate"}));
}

}  // namespace
}  // namespace keldra
