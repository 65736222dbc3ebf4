// A whole contest to its EDI log, as the operator goes through it: three QSOs typed into the main
// window (one with a club member, one in CW), "Crea LOG", the header details typed, "Crea EDI",
// "Salva", and the file on disk byte for byte.
#include <string>
#include <string_view>

#include "MainWindowFixture.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"

namespace keldra::testing {
namespace {

class EdiEndToEndTest : public MainWindowTest {
 protected:
  // Types into whatever has the focus: "\n" is Enter, which presses a focused button.
  void Keys(std::string_view keys) {
    for (char c : keys) {
      Control* focus = program().Desktop().ActiveControl();
      ASSERT_NE(focus, nullptr);
      if (auto* button = dynamic_cast<CommandButton*>(focus)) {
        ASSERT_EQ(c, '\n') << "typing into " << button->Name();
        button->Press();
      } else if (auto* box = dynamic_cast<TextBox*>(focus); box != nullptr && c == '\n') {
        box->PressKey(key::kEnter);
      } else {
        ASSERT_NE(box, nullptr) << focus->Name();
        box->Type(std::string(1, c));
      }
    }
  }
};

TEST_F(EdiEndToEndTest, ThreeQsosToTheSavedLog) {
  MainWindow& main = Main();
  clock_.Set({2023, 7, 16, 9, 30, 0});
  Keys("qx1aaa\n\n\n1 jn71gd\n\n\n");
  clock_.Set({2023, 7, 16, 9, 31, 0});
  Keys("qx1bbb\n\n\n2 jn80gd\ni003\n\n");
  clock_.Set({2023, 7, 16, 9, 32, 0});
  program().Desktop().FocusNext(true);
  ASSERT_EQ(Focused(), "Text5");
  main.mode.PressKey(key::kDown);
  Keys("\nqx1ccc\n\n\n3 jn91gd\nm123\n\n");
  ASSERT_TRUE(messages_.shown.empty()) << LastMessage();
  ASSERT_EQ(main.total_qsos.Caption(), "3");

  main.create_log_button.Press();
  EdiHeaderWindow& header = program().Get<EdiHeaderWindow>();
  ASSERT_TRUE(header.Visible());
  header.operator_name.Type("Mario Rossi");
  header.address.Type("Via Roma 1");
  header.postcode.Type("00100");
  header.city.Type(Cp1252("Città"));
  header.country.Type("Italia");
  header.power.Type("0,5");
  header.antenna_height.Type("10");
  header.altitude.Type("850");
  header.comments.Type("Bel contest");
  header.create_edi_button.Press();
  ASSERT_TRUE(messages_.shown.empty()) << LastMessage();

  EdiSaveWindow& save = program().Get<EdiSaveWindow>();
  ASSERT_TRUE(save.Visible());
  save.save_button.Press();
  EXPECT_EQ(LastMessage(),
            "Il Log del Contest e' stato salvato in " + File("01-QX0ABC.edi").string());
  EXPECT_EQ(ReadBytes(File("01-QX0ABC.edi")),
            "[REG1TEST;1]\r\n"
            "TName=KELDRA VHF QRP Contest 2023\r\n"
            "TDate=20230716;20230716\r\n"
            "PCall=QX0ABC\r\n"
            "PWWLo=JN81GD\r\n"
            "PExch=I001\r\n"
            "PAdr1=Via Roma 1\r\n"
            "PAdr2=\r\n"
            "PSect=01\r\n"
            "PBand=144 MHz\r\n"
            "PClub=\r\n"
            "RName=Mario Rossi\r\n"
            "RCall=QX0ABC\r\n"
            "RAdr1=Via Roma 1\r\n"
            "RAdr2=\r\n"
            "RPoCo=00100\r\n"
            "RCity=Citt\xE0\r\n"
            "RCoun=Italia\r\n"
            "RPhon=\r\n"
            "RHBBS=\r\n"
            "MOpe1=QX0ABC\r\n"
            "MOpe2=\r\n"
            "STXeq=\r\n"
            "SPowe=0,5\r\n"
            "SRXeq=\r\n"
            "SAnte=\r\n"
            "SAntH=10;850\r\n"
            "CQSOs=3;2\r\n"
            "CQSOP=446\r\n"
            "CWWLs=0;0;0\r\n"
            "CWWLB=0\r\n"
            "CExcs=3;446;2\r\n"
            "CExcB=724\r\n"
            "CDXCs=1;0;0\r\n"
            "CDXCB=278\r\n"
            "CToSc=724\r\n"
            "CODXC=QX1AAA;JN71GD; 168\r\n"
            "[Remarks]\r\n"
            "Bel contest\r\n"
            "[QSORecords;3]\r\n"
            "230716;0730;QX1AAA;1;59;001;59;001;;JN71GD;168;;;;\r\n"
            "230716;0731;QX1BBB;1;59;002;59;002;I003;JN80GD;111;;;;\r\n"
            "230716;0732;QX1CCC;0;599;003;599;003;M123;JN91GD;167;;;;\r\n"
            "[END; Created with Keldra QRP Test by QX0ZZA]\r\n");
}

}  // namespace
}  // namespace keldra::testing
