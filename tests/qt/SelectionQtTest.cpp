// A selection made by the model shows in the real line edit, a key typed there replaces it as in
// the model, and a key a handler looks at finds the model's selection equal to the widget's; work
// given to the background comes back on the user-interface thread.
#include <QLineEdit>
#include <QThread>
#include <atomic>

#include "QtTestSupport.h"
#include "qt/QtBackground.h"
#include "ui/Layout.h"
#include "widgets/TextBox.h"

namespace keldra::testing {
namespace {

class LocatorForm : public Form {
 public:
  explicit LocatorForm(Screen& screen) : Form(screen, "Test", "Prova", Px(300), Px(100)) {
    Place(locator, 10, 10, 120, 24);
    locator.KeyDown = [this](int key_code, KeyModifiers, bool&) {
      if (key_code == key::kF1 + 11) {
        seen_on_f12 = {locator.SelStart(), locator.SelLength()};
      }
    };
  }
  TextBox locator{*this, "Locator"};
  std::pair<int, int> seen_on_f12{-1, -1};
};

class SelectionQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    form_ = std::make_unique<LocatorForm>(program().Desktop());
    FrontEnd();
    form_->Show();
    QApplication::setActiveWindow(FrontEnd().WindowOf(*form_));
    form_->locator.SetFocus();
    Settle();
    edit_ = qobject_cast<QLineEdit*>(FrontEnd().WidgetOf(form_->locator));
    ASSERT_NE(edit_, nullptr);
  }
  void TearDown() override { form_->Unload(); }

  std::unique_ptr<LocatorForm> form_;
  QLineEdit* edit_ = nullptr;
};

TEST_F(SelectionQtTest, TheModelsSelectionIsTheWidgetsAndTypingReplacesIt) {
  form_->locator.SetText("JN61AB");
  form_->locator.SelectAll();
  Settle();
  EXPECT_EQ(edit_->selectedText(), "JN61AB");

  QTest::keyClick(edit_, Qt::Key_F12);
  EXPECT_EQ(form_->seen_on_f12, std::make_pair(0, 6)) << "the key found the selection intact";
  EXPECT_EQ(edit_->selectedText(), "JN61AB");

  form_->locator.Select(2, 2);
  Settle();
  EXPECT_EQ(edit_->selectedText(), "61");
  QTest::keyClicks(edit_, "x");
  EXPECT_EQ(form_->locator.Text(), "JNxAB");
  EXPECT_EQ(form_->locator.SelLength(), 0);

  form_->locator.SelectAll();
  Settle();
  QTest::keyClicks(edit_, "J");
  EXPECT_EQ(form_->locator.Text(), "J");
  EXPECT_EQ(edit_->text(), "J");
}

TEST(QtBackground, WorkRunsAwayFromTheUserInterfaceThreadAndItsResultComesBackOnIt) {
  App();
  std::atomic<bool> work_on_ui{true};
  QThread* done_on = nullptr;
  int result = 0;
  int delivered = 0;
  {
    qt::QtBackground background;
    background.Run(
        [&] {
          work_on_ui = QThread::currentThread() == QCoreApplication::instance()->thread();
          result = 42;
        },
        [&] {
          done_on = QThread::currentThread();
          ++delivered;
        });
    EXPECT_TRUE(QTest::qWaitFor([&] { return delivered > 0; }, 5000));
    EXPECT_EQ(delivered, 1);
    EXPECT_FALSE(work_on_ui);
    EXPECT_EQ(done_on, QCoreApplication::instance()->thread());
    EXPECT_EQ(result, 42);

    // A result still on its way when the service ends is never delivered.
    background.Run([] { QThread::msleep(20); }, [&] { ++delivered; });
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(delivered, 1);
}

}  // namespace
}  // namespace keldra::testing
