// "Crea ADIF" of the EDI header window and the ADIF save window, driven as the operator does.
#include <filesystem>
#include <string>

#include "AdifValidator.h"
#include "MainWindowFixture.h"
#include "ui/AdifSaveWindow.h"
#include "ui/EdiHeaderWindow.h"

namespace keldra::testing {
namespace {

class AdifWindowTest : public MainWindowTest {
 protected:
  // Three QSOs logged (a club member, a portable call), then "Crea LOG".
  EdiHeaderWindow& HeaderAfterQsos() {
    Row("QX1ABC", "012", "JN71GD", "I003");
    Main().ok_button.Press();
    Row("QX2DEF/P", "007", "JN80GD");
    Main().ok_button.Press();
    Row("QX3GHI", "021", "JN91GD", "M123");
    Main().ok_button.Press();
    EXPECT_TRUE(messages_.shown.empty()) << LastMessage();
    Main().create_log_button.Press();
    return program().Get<EdiHeaderWindow>();
  }
};

TEST_F(AdifWindowTest, CreaAdifAfterQsosSavesTheContestsQsos) {
  EdiHeaderWindow& header = HeaderAfterQsos();
  header.operators.SetText("");  // it starts with the station callsign
  header.operators.Type("qx7op");
  header.power.Type("0,5");
  header.create_adif_button.Press();
  ASSERT_TRUE(messages_.shown.empty()) << LastMessage();
  AdifSaveWindow& save = program().Get<AdifSaveWindow>();
  EXPECT_TRUE(save.Visible());
  EXPECT_TRUE(header.Visible());  // still there for "Crea EDI"
  EXPECT_EQ(save.file_name.Text(), "01-QX0ABC.adi");

  save.save_button.Press();
  EXPECT_EQ(LastMessage(), "Il Log ADIF e' stato salvato in " + File("01-QX0ABC.adi").string());
  if (const auto records = ValidatedRecords({File("01-QX0ABC.adi")})) {
    EXPECT_EQ(*records, Main().edi_records.Text());
  }
  const std::string adif = ReadBytes(File("01-QX0ABC.adi"));
  for (const char* own : {"<CREATED_TIMESTAMP:15>20230716 073000", "<MY_GRIDSQUARE:6>JN81GD",
                          "<STATION_CALLSIGN:6>QX0ABC <OPERATOR:5>QX7OP <TX_PWR:3>0.5"}) {
    EXPECT_NE(adif.find(own), std::string::npos) << own;
  }
}

TEST_F(AdifWindowTest, NamesAreMadeSafeAndTheProgramsFilesRefused) {
  HeaderAfterQsos().create_adif_button.Press();
  AdifSaveWindow& save = program().Get<AdifSaveWindow>();
  const std::string contest = ReadBytes(File("parziale.db"));
  const struct {
    const char* typed;
    const char* written;  // or, when empty, the refusal
    const char* refusal;
  } cases[] = {
      {"QX0ABC/P.adi", "QX0ABC_P.adi", ""},
      {"parziale.db", "", "Il nome parziale.db e' quello di un file del programma"},
      {"nul.adi", "", "Il nome nul.adi e' riservato dal sistema"},
  };
  for (const auto& c : cases) {
    messages_.shown.clear();
    save.file_name.SetText(c.typed);
    save.save_button.Press();
    if (*c.written != '\0') {
      EXPECT_EQ(LastMessage(), "Il Log ADIF e' stato salvato in " + File(c.written).string());
      EXPECT_EQ(ReadBytes(File(c.written)), save.adif_text.Text());
    } else {
      EXPECT_TRUE(LastMessage().starts_with(c.refusal)) << c.typed << ": " << LastMessage();
    }
  }
  EXPECT_EQ(ReadBytes(File("parziale.db")), contest);
}

// A disk whose every write fails at the rename, as a file held open elsewhere would.
class RefusingDisk : public Files {
 protected:
  std::error_code Inject(WriteStep step) override {
    return step == WriteStep::kRename ? std::make_error_code(std::errc::permission_denied)
                                      : std::error_code();
  }
};

TEST_F(AdifWindowTest, AWriteThatFailsIsReported) {
  RefusingDisk disk;
  Program program(messages_, clock_, folder_.path(), &disk);
  AdifSaveWindow& save = program.Get<AdifSaveWindow>();
  save.file_name.SetText("log.adi");
  save.adif_text.SetText("ADIF\r\n<EOH>\r\n");
  save.save_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kCritical);
  EXPECT_TRUE(messages_.shown[0].text.starts_with("Il Log ADIF non e' stato salvato.\n"))
      << messages_.shown[0].text;
  EXPECT_FALSE(std::filesystem::exists(File("log.adi")));
}

TEST_F(AdifWindowTest, ARecordTheAdifCannotCarryStopsItAndIsNamed) {
  EdiHeaderWindow& header = HeaderAfterQsos();
  header.edi_records.SetText(header.edi_records.Text() +
                             "230716;0815;QX4BAD;1;59;004;59;012;;JN8;5;;;;\r\n");
  header.create_adif_button.Press();
  EXPECT_EQ(LastMessage(),
            "Il Log ADIF non e' stato creato: questo QSO non si puo' scrivere.\n"
            "riga 4 (QX4BAD): locatore non valido \"JN8\"\n"
            "Correggerlo con \"Modifica QSO\".");
  EXPECT_EQ(program().Find<AdifSaveWindow>(), nullptr);
}

}  // namespace
}  // namespace keldra::testing
