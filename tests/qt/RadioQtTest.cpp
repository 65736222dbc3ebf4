// The rig and rotator in the real widgets: F1 and Ctrl+R typed into the entry row reach the
// devices and never the field, the frequency and the antenna needle are drawn, and the settings
// window is laid out. Screenshots of both windows.
#include <QLabel>
#include <QLineEdit>

#include "QtTestSupport.h"
#include "support/FakeRadio.h"
#include "ui/MainWindow.h"
#include "ui/RadioWindow.h"

namespace keldra::testing {
namespace {

class RadioQtTest : public QtProgramTest {
 protected:
  void SetUp() override {
    WriteBytes(File("config.txt"), kLoggingStationFile);
    WriteBytes(File("radio.txt"), "rig_model = 1\r\nrotator_model = 1\r\n");
    program().SetDevices(radio_);
    FrontEnd();
    program().Start();
    Settle();
  }
  MainWindow& Main() { return program().Get<MainWindow>(); }
  QWidget* Widget(const Control& c) { return FrontEnd().WidgetOf(c); }

  FakeRadio radio_;
};

TEST_F(RadioQtTest, KeysReachTheDevicesAndTheWindowsAreDrawn) {
  MainWindow& m = Main();
  radio_.Rig(LinkState::kConnected, 144300000, "CW");
  radio_.Rotator(LinkState::kConnected, 300);
  m.call.SetFocus();
  QTest::keyClicks(Widget(m.call), "qx1zz");
  m.locator.SetText("JN61FW");
  m.call.SetFocus();
  QTest::keyClick(Widget(m.call), Qt::Key_F1);
  QTest::keyClick(Widget(m.call), Qt::Key_R, Qt::ControlModifier);
  QTest::keyClick(Widget(m.call), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(radio_.sent, std::vector<std::string>{"CQ TEST QX0ABC"});
  EXPECT_EQ(radio_.turned_to.size(), 1u);
  EXPECT_EQ(radio_.morse_stops, 1);
  EXPECT_EQ(qobject_cast<QLineEdit*>(Widget(m.call))->text(), "QX1ZZ");
  EXPECT_EQ(qobject_cast<QLabel*>(Widget(m.rig_frequency))->text(), "144.300,00");
  EXPECT_TRUE(Widget(m.antenna_needle)->isVisible());
  Screenshot(m, "radio_main_window");

  m.radio_button.Press();
  RadioWindow& w = program().Get<RadioWindow>();
  w.probe_result.SetCaption("Radio: connessa, 144.300,00 MHz CW.\nRotore: connesso, a 300" +
                            Cp1252("°."));
  Screenshot(w, "radio_settings_window");
  EXPECT_TRUE(Widget(w.rig_model)->isVisible());
}

}  // namespace
}  // namespace keldra::testing
