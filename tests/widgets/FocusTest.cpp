// The single focus owner and the active window: focus events in order, handlers that move the
// focus on, controls that cannot take it, the Tab order, and the activation passing back to the
// previous window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/Buttons.h"
#include "widgets/Form.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/Screen.h"
#include "widgets/TextBox.h"

namespace keldra {
namespace {

using Log = std::vector<std::string>;

// A field, a label, a hidden field, a disabled one, one in a hidden frame, a field and a button:
// the focusable ones in tab order are first, last and button.
class FocusForm : public Form {
 public:
  FocusForm(Screen& screen, const std::string& name, Log& log)
      : Form(screen, name, name, 4800, 3600), log_(log) {
    hidden.SetVisible(false);
    disabled.SetEnabled(false);
    hidden_frame.SetVisible(false);
    framed.SetContainer(&hidden_frame);
    for (Control* control : Controls()) {
      const std::string id = Name() + "." + control->Name();
      control->GotFocus = [this, id] { log_.push_back(id + " got"); };
      control->LostFocus = [this, id] { log_.push_back(id + " lost"); };
    }
  }

  TextBox first{*this, "Text1"};
  Label label{*this, "Label1"};
  TextBox hidden{*this, "Text2"};
  TextBox disabled{*this, "Text3"};
  Frame hidden_frame{*this, "Frame1"};
  TextBox framed{*this, "Text4"};
  TextBox last{*this, "Text5"};
  CommandButton button{*this, "Command1"};

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
  a_.first.SetFocus();
  a_.last.SetFocus();
  a_.last.SetFocus();  // already there: nothing runs
  EXPECT_EQ(log_, (Log{"A activate", "A.Text1 got", "A.Text1 lost", "A.Text5 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.last);
  EXPECT_TRUE(a_.last.HasFocus());
  EXPECT_FALSE(a_.first.HasFocus());
}

TEST_F(FocusTest, GotFocusThatMovesTheFocusOn) {
  a_.first.SetFocus();
  log_.clear();
  a_.last.GotFocus = [&] {
    log_.push_back("A.Text5 got");
    a_.button.SetFocus();
  };
  a_.last.SetFocus();
  EXPECT_EQ(log_, (Log{"A.Text1 lost", "A.Text5 got", "A.Text5 lost", "A.Command1 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.button);
}

TEST_F(FocusTest, LostFocusThatSendsTheFocusElsewhere) {
  // The control the focus was headed for never had it: it gets neither event.
  a_.first.SetFocus();
  log_.clear();
  a_.first.LostFocus = [&] {
    log_.push_back("A.Text1 lost");
    a_.button.SetFocus();
  };
  a_.last.SetFocus();
  EXPECT_EQ(log_, (Log{"A.Text1 lost", "A.Command1 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.button);
}

TEST_F(FocusTest, LostFocusThatKeepsTheFocusWhereItWas) {
  // The check of a field that puts the cursor back into it.
  a_.first.SetFocus();
  log_.clear();
  bool refuse = true;
  a_.first.LostFocus = [&] {
    log_.push_back("A.Text1 lost");
    if (refuse) {
      refuse = false;
      a_.first.SetFocus();
    }
  };
  a_.last.SetFocus();
  EXPECT_EQ(log_, (Log{"A.Text1 lost", "A.Text1 got"}));
  EXPECT_EQ(screen_.ActiveControl(), &a_.first);
}

TEST_F(FocusTest, ControlsThatCannotTakeTheFocus) {
  struct Case {
    const char* name;
    Control* control;
  };
  FocusForm& f = a_;
  f.first.SetFocus();
  const Case cases[] = {
      {"hidden", &f.hidden}, {"disabled", &f.disabled},  {"in a hidden frame", &f.framed},
      {"label", &f.label},   {"frame", &f.hidden_frame},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log_.clear();
    c.control->SetFocus();
    EXPECT_EQ(screen_.ActiveControl(), &f.first);
    EXPECT_TRUE(log_.empty());
  }
  // In a visible but disabled frame.
  f.hidden_frame.SetVisible(true);
  f.hidden_frame.SetEnabled(false);
  f.framed.SetFocus();
  EXPECT_EQ(screen_.ActiveControl(), &f.first);
  f.hidden_frame.SetEnabled(true);
  f.framed.SetFocus();
  EXPECT_EQ(screen_.ActiveControl(), &f.framed);
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
      {"first field", nullptr, false, &f.first},
      {"last field backwards", nullptr, true, &f.button},
      {"over label, hidden, disabled and hidden frame", &f.first, false, &f.last},
      {"to the button", &f.last, false, &f.button},
      {"wraps to the first", &f.button, false, &f.first},
      {"back over the skipped ones", &f.last, true, &f.first},
      {"wraps to the last backwards", &f.first, true, &f.button},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Screen screen;
    Log log;
    FocusForm form(screen, "A", log);
    form.Show();
    // The same control of the fresh window.
    if (c.from != nullptr) {
      form.Find(c.from->Name())->SetFocus();
    }
    screen.FocusNext(c.backwards);
    ASSERT_NE(screen.ActiveControl(), nullptr);
    EXPECT_EQ(screen.ActiveControl()->Name(), c.to->Name());
  }
}

TEST_F(FocusTest, TabReachesAControlOnceItsFrameIsShown) {
  a_.hidden_frame.SetVisible(true);
  a_.first.SetFocus();
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.framed);
}

TEST_F(FocusTest, TabFollowsAnOrderTheWindowSets) {
  a_.SetTabOrder({&a_.button, &a_.hidden, &a_.last, &a_.first});
  a_.button.SetFocus();
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.last);
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.first);
  screen_.FocusNext(false);
  EXPECT_EQ(screen_.ActiveControl(), &a_.button);
}

TEST_F(FocusTest, TabRunsTheFocusEvents) {
  a_.first.SetFocus();
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
  b_.first.SetFocus();
  b_.Hide();
  EXPECT_EQ(screen_.ActiveControl(), nullptr);
  EXPECT_EQ(screen_.ActiveForm(), &a_);
  c_.Show();
  c_.last.SetFocus();
  c_.Unload();
  EXPECT_EQ(screen_.ActiveControl(), nullptr);
  // An unloaded window's controls cannot take the focus back.
  c_.last.SetFocus();
  EXPECT_EQ(screen_.ActiveControl(), nullptr);
}

TEST_F(FocusTest, FocusingAControlOfAnotherWindowActivatesItFirst) {
  b_.Show();
  a_.first.SetFocus();  // brings A back
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
