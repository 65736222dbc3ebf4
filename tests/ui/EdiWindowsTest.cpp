// The EDI save window and the header window's "Crea EDI", driven as the operator does.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
#include "data/StationConfig.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form4.h"

namespace keldra {
namespace {

using testing::ProgramTest;
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
  Form4& Save(const std::string& name, const std::string& text) {
    Form4& save = program().Get<Form4>();
    save.Text2.SetText(name);
    save.Text1.SetText(text);
    save.Command1.Press();
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
    Form4& save = Save(c.typed, kLog);
    EXPECT_EQ(save.Text2.Text(), c.shown) << c.typed;
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
    Form4& save = Save(name, kLog);
    ASSERT_EQ(messages_.shown.size(), 1u) << name;
    EXPECT_EQ(messages_.shown[0].text.find("salvato"), std::string::npos) << name;
    EXPECT_TRUE(save.Text2.HasFocus()) << name;
  }
  EXPECT_EQ(ReadBytes(File("parziale.db")), "ST_QSO 004\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

TEST_F(SaveWindowTest, FailedWriteIsReportedAndTheOldFileKept) {
  RefusingDisk disk;
  Program refusing(messages_, clock_, folder_.path(), &disk);
  WriteBytes(File("01-QX0ABC.edi"), "old");
  Form4& save = refusing.Get<Form4>();
  save.Text2.SetText("01-QX0ABC.edi");
  save.Text1.SetText(kLog);
  save.Command1.Press();
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
  Form4& save = program().Get<Form4>();
  save.Show();
  save.Text2.SetText("01-QX0ABC.edi");
  save.Text1.SetText(kLog);
  save.Command2.Press();
  EXPECT_EQ(program().Find<Form4>(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(File("01-QX0ABC.edi")));
  // Opened again, it starts empty.
  EXPECT_EQ(program().Get<Form4>().Text1.Text(), "");
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
  Form2& Open() {
    program_.reset();
    messages_.shown.clear();
    WriteBytes(File("config.txt"), StationConfigText({"QX0ABC", "JN61FV", "045", ""}));
    Form1& main = program().Get<Form1>();
    main.Text2.SetText("16/07/23");
    main.Label19.SetCaption("3");
    main.Label21.SetCaption("1046");
    main.Label23.SetCaption("3");
    main.Label25.SetCaption("1569");
    main.Label27.SetCaption("QX1ABC");
    main.Label28.SetCaption("JN81GD");
    main.Label29.SetCaption(" 523");
    main.Text14.SetText(kRecords);
    Form2& header = program().Get<Form2>();
    header.Text1.SetText(kRecords);  // as the commits keep it
    header.Show();
    messages_.shown.clear();
    return header;
  }
  Form1& Main() { return program().Get<Form1>(); }
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
    Form2& header = Open();
    header.Combo1.SetListIndex(c.category);
    header.Text19.Type(c.power);
    header.Command2.Press();
    if (c.refusal != nullptr) {
      EXPECT_EQ(messages_.Texts(), std::vector<std::string>{prefix + c.refusal + suffix}) << c.name;
      EXPECT_EQ(program().Find<Form2>(), &header) << c.name;
      EXPECT_TRUE(header.Visible()) << c.name;
      EXPECT_EQ(header.Text19.Text(), c.power) << c.name;
      EXPECT_TRUE(header.Text19.HasFocus()) << c.name;
      EXPECT_EQ(header.Text23.Text(), "") << c.name;
      EXPECT_EQ(program().Find<Form4>(), nullptr) << c.name;
    } else {
      EXPECT_TRUE(messages_.shown.empty()) << c.name;
      EXPECT_EQ(program().Find<Form2>(), nullptr) << c.name;
      ASSERT_NE(program().Find<Form4>(), nullptr) << c.name;
      EXPECT_TRUE(program().Find<Form4>()->Visible()) << c.name;
      EXPECT_NE(
          program().Find<Form4>()->Text1.Text().find("\r\nSPowe=" + std::string(c.power) + "\r\n"),
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
    Form2& header = Open();
    header.Combo1.SetListIndex(c.category);
    if (c.call != nullptr) {
      header.Text2.SetText("");
      header.Text2.Type(c.call);
    }
    header.Command2.Press();
    Form4& save = program().Get<Form4>();
    EXPECT_EQ(save.Text2.Text(), c.proposed);
    save.Command1.Press();
    EXPECT_EQ(save.Text2.Text(), c.saved);
    EXPECT_EQ(ReadBytes(File(c.saved)), save.Text1.Text()) << c.saved;
    EXPECT_EQ(messages_.Texts(),
              std::vector<std::string>{"Il Log del Contest e' stato salvato in " +
                                       File(c.saved).string()});
    if (c.call != nullptr) {
      EXPECT_NE(save.Text1.Text().find("PCall=" + std::string(c.call) + "\r\n"), std::string::npos);
      EXPECT_NE(save.Text1.Text().find("RCall=" + std::string(c.call) + "\r\n"), std::string::npos);
      EXPECT_EQ(Main().Label39.Caption(), "QX0ABC");
    }
  }
}

TEST_F(HeaderWindowTest, NoCategoryWritesNoSectionAndKeepsTheSaveWindowsName) {
  Form2& header = Open();
  program().Get<Form4>().Text2.SetText("mio-log.edi");
  header.Combo1.SetListIndex(-1);
  header.Command2.Press();
  Form4& save = program().Get<Form4>();
  EXPECT_EQ(save.Text1.Text(), header.Text23.Text());
  EXPECT_EQ(save.Text2.Text(), "mio-log.edi");
  EXPECT_NE(save.Text1.Text().find("PAdr2=\r\nPBand=144 MHz\r\n"), std::string::npos);
  EXPECT_EQ(save.Text1.Text().find("PSect="), std::string::npos);
}

TEST_F(HeaderWindowTest, NextOpeningAfterCreaEdiStartsAfresh) {
  Form2& header = Open();
  header.Text2.SetText("QX0ABC/P");
  header.Combo1.SetListIndex(1);
  header.Text6.SetText("15/07/2023");
  for (TextBox* field :
       {&header.Text7, &header.Text8, &header.Text9, &header.Text10, &header.Text11, &header.Text12,
        &header.Text13, &header.Text14, &header.Text15, &header.Text16, &header.Text17,
        &header.Text18, &header.Text19, &header.Text20, &header.Text21, &header.Text22}) {
    field->Type("1");
  }
  header.Command2.Press();
  ASSERT_EQ(program().Find<Form2>(), nullptr);

  Form2& again = program().Get<Form2>();
  EXPECT_NE(&again, &header);
  EXPECT_EQ(again.Text2.Text(), "QX0ABC");
  EXPECT_EQ(again.Text3.Text(), "JN61FV");
  EXPECT_EQ(again.Text1.Text(), kRecords);
  EXPECT_EQ(again.Text6.Text(), "16/07/2023");
  EXPECT_EQ(again.Combo1.Text(), "0,5 watt");
  EXPECT_EQ(again.Combo1.Items(), (std::vector<std::string>{"0,5 watt", "3 watt", "5 watt"}));
  for (const TextBox* field :
       {&again.Text7, &again.Text8, &again.Text9, &again.Text10, &again.Text11, &again.Text12,
        &again.Text13, &again.Text14, &again.Text15, &again.Text16, &again.Text17, &again.Text18,
        &again.Text19, &again.Text20, &again.Text21, &again.Text22, &again.Text23}) {
    EXPECT_EQ(field->Text(), "") << field->Name();
  }
}

TEST_F(HeaderWindowTest, ChiudiHidesAndKeepsWhatWasTyped) {
  Form2& header = Open();
  header.Text8.Type("Via Roma 1");
  header.Combo1.SetListIndex(2);
  header.Command1.Press();
  EXPECT_FALSE(header.Visible());
  Form2& again = program().Get<Form2>();
  again.Show();
  EXPECT_EQ(&again, &header);
  EXPECT_EQ(again.Text8.Text(), "Via Roma 1");
  EXPECT_EQ(again.Combo1.Text(), "5 watt");
}

}  // namespace
}  // namespace keldra
