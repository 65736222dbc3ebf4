// "Radio e rotore" where the program starts Hamlib's daemons itself: the Hamlib row shows what was
// found, "Cerca" looks in the folder written and lists its models, "Salva" keeps the folder in
// radio.txt and hands it to the devices before linking them, and a daemon that stops is told.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "support/FakeRadio.h"
#include "ui/RadioWindow.h"

namespace keldra::testing {
namespace {

// Devices whose models depend on the folder Hamlib is looked for in.
class DaemonsRadio : public FakeRadio {
 public:
  bool StartsDaemons() const override { return true; }
  void UseLibraryFolder(const std::string& folder) override { folders.push_back(folder); }
  std::string LibraryStatus() override {
    return folders.back().empty() ? "Hamlib per Windows non trovato"
                                  : "Hamlib 4.6.2 in " + folders.back();
  }
  std::vector<DeviceModel> RigModels() override {
    std::vector<DeviceModel> models = FakeRadio::RigModels();
    if (!folders.back().empty()) {
      models.push_back({3073, "Icom IC-7300"});
    }
    return models;
  }
  std::vector<std::string> folders;
};

class RadioWindowHamlibTest : public MainWindowTest {};

TEST_F(RadioWindowHamlibTest, FolderSearchedShownSavedAndStoppedDaemonTold) {
  WriteBytes(File("radio.txt"), "rig_model = 1\r\n");
  DaemonsRadio radio;
  program().SetDevices(radio);
  MainWindow& m = Main();
  EXPECT_EQ(radio.folders, std::vector<std::string>{""});
  m.radio_button.Press();
  RadioWindow& w = program().Get<RadioWindow>();
  EXPECT_TRUE(w.hamlib_frame.Visible());
  EXPECT_EQ(w.hamlib_status.Caption(), "Hamlib per Windows non trovato");
  EXPECT_EQ(w.rig_model.ListCount(), 3);  // nessuno, the dummy, NET rigctl
  EXPECT_GT(w.probe_button.Top(), w.hamlib_frame.Top() + w.hamlib_frame.Height());

  w.hamlib_folder.SetText(" D:\\Hamlib\\bin ");
  w.hamlib_search.Press();
  EXPECT_EQ(w.hamlib_status.Caption(), "Hamlib 4.6.2 in D:\\Hamlib\\bin");
  EXPECT_EQ(w.rig_model.Text(), "Hamlib Dummy (1)");  // the choice kept
  EXPECT_EQ(w.rig_model.Items().back(), "Icom IC-7300 (3073)");
  w.rig_model.SetListIndex(3);
  w.save_button.Press();
  EXPECT_NE(ReadBytes(File("radio.txt")).find("hamlib_folder = D:\\Hamlib\\bin\r\n"),
            std::string::npos);
  EXPECT_EQ(radio.folders.back(), "D:\\Hamlib\\bin");
  EXPECT_EQ(radio.connected_rig.model, 3073);

  radio.LinkProblem("rigctld si è fermato: la porta COM3 non esiste");
  EXPECT_EQ(LastMessage(), "Radio e rotore: rigctld si è fermato: la porta COM3 non esiste");
}

TEST_F(RadioWindowHamlibTest, NoHamlibRowWhereTheDeviceLibraryIsLinked) {
  FakeRadio radio;
  program().SetDevices(radio);
  Main().radio_button.Press();
  EXPECT_FALSE(program().Get<RadioWindow>().hamlib_frame.Visible());
  EXPECT_FALSE(program().Get<RadioWindow>().hamlib_search.Visible());
}

}  // namespace
}  // namespace keldra::testing
