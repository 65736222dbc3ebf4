// The EDI save window and the header window's "Crea EDI", driven as the operator does.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestSupport.h"
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
                        {"..\\x", ".._x"},
                        {"c:x*?.edi", "c_x__.edi"}};
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
  for (const char* name : {"", "..", "parziale.db"}) {
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
  EXPECT_TRUE(message.text.starts_with("Il Log del Contest non e' stato salvato in " +
                                       File("01-QX0ABC.edi").string()))
      << message.text;
  EXPECT_NE(message.text.find("sostituzione del file"), std::string::npos) << message.text;
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

}  // namespace
}  // namespace keldra
