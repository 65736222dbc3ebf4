// The EDI save window and the header window's "Crea EDI", driven as the operator does.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "data/StationConfig.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/EdiSaveWindow.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

using testing::ProgramTest;
using testing::PutContest;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr const char* kLog = "[REG1TEST;1]\r\nPCall=QX0ABC\r\n[END; x]\r\n";

// A disk whose every write fails at the rename, as a file held open elsewhere would.
class RefusingDisk : public Files {
 protected:
  std::error_code Inject(WriteStep step) override {
    return step == WriteStep::kRename ? std::make_error_code(std::errc::permission_denied)
                                      : std::error_code();
  }
};

class SaveWindowTest : public ProgramTest {
 protected:
  EdiSaveWindow& Save(const std::string& name, const std::string& text) {
    EdiSaveWindow& save = program().Get<EdiSaveWindow>();
    save.file_name.SetText(name);
    save.log_text.SetText(text);
    save.save_button.Press();
    return save;
  }
  std::string Saved(const std::string& name) const {
    return "Il Log del Contest e' stato salvato in " + (folder_ / name).string();
  }
};

TEST_F(SaveWindowTest, WritesTheTextIntoTheProgramFolderAndSaysWhere) {
  Save("01-QX0ABC.edi", kLog);
  EXPECT_EQ(ReadBytes(File("01-QX0ABC.edi")), kLog);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, Saved("01-QX0ABC.edi"));
  EXPECT_EQ(messages_.shown[0].title, "Keldra VHF qrp Test");
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kInformation);
}

TEST_F(SaveWindowTest, ReplacesAnExistingFileWhole) {
  WriteBytes(File("01-QX0ABC.edi"), std::string(5000, 'x'));
  Save("01-QX0ABC.edi", kLog);
  EXPECT_EQ(ReadBytes(File("01-QX0ABC.edi")), kLog);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{Saved("01-QX0ABC.edi")});
}

TEST_F(SaveWindowTest, NamesAreMadeSafeAndStayInsideTheFolder) {
  struct Case {
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {{"01-QX0ABC/P.edi", "01-QX0ABC_P.edi"},
                        {"a/b", "a_b"},
                        {"../x", ".._x"},
                        {"02-QX0ABC.edi.", "02-QX0ABC.edi"}};
  for (const Case& c : cases) {
    messages_.shown.clear();
    EdiSaveWindow& save = Save(c.typed, kLog);
    EXPECT_EQ(save.file_name.Text(), c.shown) << c.typed;
    EXPECT_EQ(ReadBytes(File(c.shown)), kLog) << c.typed;
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{Saved(c.shown)}) << c.typed;
  }
  // Nothing landed beside the program folder or under a sub-folder.
  EXPECT_FALSE(std::filesystem::exists(folder_.path().parent_path() / "x"));
  for (const auto& entry : std::filesystem::directory_iterator(folder_.path())) {
    EXPECT_TRUE(entry.is_regular_file()) << entry.path();
  }
}

TEST_F(SaveWindowTest, EmptyTextDoesNothing) {
  Save("01-QX0ABC.edi", "");
  Save("", "");
  EXPECT_FALSE(std::filesystem::exists(File("01-QX0ABC.edi")));
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(SaveWindowTest, UnusableNamesAreRefusedAndNothingIsWritten) {
  WriteBytes(File("parziale.db"), "ST_QSO 004\r\n");
  for (const char* name : {"", "..", "parziale.db", "parziale.db.", "NUL.edi"}) {
    messages_.shown.clear();
    EdiSaveWindow& save = Save(name, kLog);
    ASSERT_EQ(messages_.shown.size(), 1u) << name;
    EXPECT_EQ(messages_.shown[0].text.find("salvato"), std::string::npos) << name;
    EXPECT_TRUE(save.file_name.HasFocus()) << name;
  }
  EXPECT_EQ(ReadBytes(File("parziale.db")), "ST_QSO 004\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

TEST_F(SaveWindowTest, FailedWriteIsReportedAndTheOldFileKept) {
  RefusingDisk disk;
  Program refusing(messages_, clock_, folder_.path(), &disk);
  WriteBytes(File("01-QX0ABC.edi"), "old");
  EdiSaveWindow& save = refusing.Get<EdiSaveWindow>();
  save.file_name.SetText("01-QX0ABC.edi");
  save.log_text.SetText(kLog);
  save.save_button.Press();
  ASSERT_EQ(messages_.shown.size(), 1u);
  const auto& message = messages_.shown[0];
  EXPECT_EQ(message.icon, MessageIcon::kCritical);
  EXPECT_TRUE(message.text.starts_with("Il Log del Contest non e' stato salvato.\n"))
      << message.text;
  EXPECT_NE(message.text.find(File("01-QX0ABC.edi").string()), std::string::npos) << message.text;
  EXPECT_NE(message.text.find("(sostituzione)"), std::string::npos) << message.text;
  EXPECT_EQ(ReadBytes(File("01-QX0ABC.edi")), "old");
}

TEST_F(SaveWindowTest, EsciClosesWithoutWriting) {
  EdiSaveWindow& save = program().Get<EdiSaveWindow>();
  save.Show();
  save.file_name.SetText("01-QX0ABC.edi");
  save.log_text.SetText(kLog);
  save.exit_button.Press();
  EXPECT_EQ(program().Find<EdiSaveWindow>(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(File("01-QX0ABC.edi")));
  // Opened again, it starts empty.
  EXPECT_EQ(program().Get<EdiSaveWindow>().log_text.Text(), "");
}

// A station QX0ABC in JN61FV, I-QRP member 045, after three QSOs (one with a club member).
constexpr const char* kRecords =
    "230716;0815;QX1ABC;1;59;001;59;012;I003;JN81GD;523;;;;\r\n"
    "230716;0832;QX2DEF;0;599;002;599;007;;JN72KL;410;;;;\r\n"
    "230716;0901;QX3GHI;1;59;003;59;021;;JN64AB;113;;;;\r\n";

class HeaderWindowTest : public ProgramTest {
 protected:
  // A fresh run of the program on the contest above, the header window opened as "Crea LOG"
  // opens it.
  EdiHeaderWindow& Open() {
    program_.reset();
    messages_.shown.clear();
    WriteBytes(File("config.txt"), StationConfigText({"QX0ABC", "JN61FV", "045", ""}));
    MainWindow& main = program().Get<MainWindow>();
    main.date.SetText("16/07/23");
    ContestState contest;
    contest.qsos = "3";
    contest.km = "1046";
    contest.multipliers = "3";
    contest.points = "1569";
    contest.odx_call = "QX1ABC";
    contest.odx_locator = "JN81GD";
    contest.odx_km = " 523";
    contest.edi_records = kRecords;
    PutContest(program(), contest);
    EdiHeaderWindow& header = program().Get<EdiHeaderWindow>();
    header.Show();
    messages_.shown.clear();
    return header;
  }
  MainWindow& Main() { return program().Get<MainWindow>(); }
};

TEST_F(HeaderWindowTest, PowerAboveTheCategoryLimitIsRefused) {
  struct Case {
    const char* name;
    int category;  // index in the box
    const char* power;
    const char* refusal;  // null: the log is created
  };
  const std::string prefix = "La massima potenza consentita in questa categoria e' di ";
  const std::string suffix = "... cambiare la categoria";
  const Case cases[] = {
      {"half_1_refused", 0, "1", "0,5 watt"}, {"half_0.5_passes", 0, "0.5", nullptr},
      {"half_0,5_passes", 0, "0,5", nullptr}, {"half_0,6_refused", 0, "0,6", "0,5 watt"},
      {"three_3_passes", 1, "3", nullptr},    {"three_3.1_refused", 1, "3.1", "3 watt"},
      {"five_5,0_passes", 2, "5,0", nullptr}, {"five_5.5_refused", 2, "5.5", "5 watt"},
  };
  for (const Case& c : cases) {
    EdiHeaderWindow& header = Open();
    header.category.SetListIndex(c.category);
    header.power.Type(c.power);
    header.create_edi_button.Press();
    if (c.refusal != nullptr) {
      EXPECT_EQ(messages_.Texts(), std::vector<std::string>{prefix + c.refusal + suffix}) << c.name;
      EXPECT_EQ(program().Find<EdiHeaderWindow>(), &header) << c.name;
      EXPECT_TRUE(header.Visible()) << c.name;
      EXPECT_EQ(header.power.Text(), c.power) << c.name;
      EXPECT_TRUE(header.power.HasFocus()) << c.name;
      EXPECT_EQ(program().Find<EdiSaveWindow>(), nullptr) << c.name;
    } else {
      EXPECT_TRUE(messages_.shown.empty()) << c.name;
      EXPECT_EQ(program().Find<EdiHeaderWindow>(), nullptr) << c.name;
      ASSERT_NE(program().Find<EdiSaveWindow>(), nullptr) << c.name;
      EXPECT_TRUE(program().Find<EdiSaveWindow>()->Visible()) << c.name;
      EXPECT_NE(program().Find<EdiSaveWindow>()->log_text.Text().find(
                    "\r\nSPowe=" + std::string(c.power) + "\r\n"),
                std::string::npos)
          << c.name;
    }
  }
}

TEST_F(HeaderWindowTest, FileNameFromCategoryAndTheCallsignTypedHere) {
  struct Case {
    int category;
    const char* call;  // typed over the station callsign; null keeps it
    const char* proposed;
    const char* saved;
  };
  const Case cases[] = {
      {0, nullptr, "01-QX0ABC.edi", "01-QX0ABC.edi"},
      {1, nullptr, "02-QX0ABC.edi", "02-QX0ABC.edi"},
      {2, nullptr, "03-QX0ABC.edi", "03-QX0ABC.edi"},
      {0, "QX0ABC/P", "01-QX0ABC/P.edi", "01-QX0ABC_P.edi"},
  };
  for (const Case& c : cases) {
    EdiHeaderWindow& header = Open();
    header.category.SetListIndex(c.category);
    if (c.call != nullptr) {
      header.call.SetText("");
      header.call.Type(c.call);
    }
    header.create_edi_button.Press();
    EdiSaveWindow& save = program().Get<EdiSaveWindow>();
    EXPECT_EQ(save.file_name.Text(), c.proposed);
    save.save_button.Press();
    EXPECT_EQ(save.file_name.Text(), c.saved);
    EXPECT_EQ(ReadBytes(File(c.saved)), save.log_text.Text()) << c.saved;
    EXPECT_EQ(messages_.Texts(),
              std::vector<std::string>{"Il Log del Contest e' stato salvato in " +
                                       File(c.saved).string()});
    if (c.call != nullptr) {
      EXPECT_NE(save.log_text.Text().find("PCall=" + std::string(c.call) + "\r\n"),
                std::string::npos);
      EXPECT_NE(save.log_text.Text().find("RCall=" + std::string(c.call) + "\r\n"),
                std::string::npos);
      EXPECT_EQ(Main().station_call.Caption(), "QX0ABC");
    }
  }
}

TEST_F(HeaderWindowTest, NoCategoryWritesNoSectionAndKeepsTheSaveWindowsName) {
  EdiHeaderWindow& header = Open();
  program().Get<EdiSaveWindow>().file_name.SetText("mio-log.edi");
  header.category.SetListIndex(-1);
  header.create_edi_button.Press();
  EdiSaveWindow& save = program().Get<EdiSaveWindow>();
  EXPECT_EQ(save.log_text.Text().rfind("[REG1TEST;1]\r\n", 0), 0u);
  EXPECT_EQ(save.file_name.Text(), "mio-log.edi");
  EXPECT_NE(save.log_text.Text().find("PAdr2=\r\nPBand=144 MHz\r\n"), std::string::npos);
  EXPECT_EQ(save.log_text.Text().find("PSect="), std::string::npos);
}

TEST_F(HeaderWindowTest, NextOpeningAfterCreaEdiStartsAfresh) {
  EdiHeaderWindow& header = Open();
  header.call.SetText("QX0ABC/P");
  header.category.SetListIndex(1);
  header.date.SetText("15/07/2023");
  for (TextBox* field :
       {&header.operator_name, &header.address, &header.postcode, &header.city, &header.country,
        &header.phone, &header.email, &header.operators, &header.club, &header.receiver,
        &header.transmitter, &header.antennas, &header.power, &header.antenna_height,
        &header.altitude, &header.comments}) {
    field->Type("1");
  }
  header.create_edi_button.Press();
  ASSERT_EQ(program().Find<EdiHeaderWindow>(), nullptr);

  EdiHeaderWindow& again = program().Get<EdiHeaderWindow>();
  EXPECT_NE(&again, &header);
  EXPECT_EQ(again.call.Text(), "QX0ABC");
  EXPECT_EQ(again.locator.Text(), "JN61FV");
  EXPECT_EQ(again.edi_records.Text(), kRecords);
  EXPECT_EQ(again.date.Text(), "16/07/2023");
  EXPECT_EQ(again.category.Text(), "0,5 watt");
  EXPECT_EQ(again.category.Items(), (std::vector<std::string>{"0,5 watt", "3 watt", "5 watt"}));
  for (const TextBox* field :
       {&again.operator_name, &again.address, &again.postcode, &again.city, &again.country,
        &again.phone, &again.email, &again.operators, &again.club, &again.receiver,
        &again.transmitter, &again.antennas, &again.power, &again.antenna_height, &again.altitude,
        &again.comments}) {
    EXPECT_EQ(field->Text(), "") << field->Name();
  }
}

TEST_F(HeaderWindowTest, ChiudiHidesAndKeepsWhatWasTyped) {
  EdiHeaderWindow& header = Open();
  header.address.Type("Via Roma 1");
  header.category.SetListIndex(2);
  header.close_button.Press();
  EXPECT_FALSE(header.Visible());
  EdiHeaderWindow& again = program().Get<EdiHeaderWindow>();
  again.Show();
  EXPECT_EQ(&again, &header);
  EXPECT_EQ(again.address.Text(), "Via Roma 1");
  EXPECT_EQ(again.category.Text(), "5 watt");
}

}  // namespace
}  // namespace keldra
