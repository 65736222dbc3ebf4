// The main window ready for logging, as the operator finds it after start-up: station file
// present (own locator JN81GD), no contest on disk, on-line, clock at 16/07/2023 09.30 local
// (07.30 UTC). Shared by the tests of the entry row and of "OK".
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"
#include "system/CodePage.h"
#include "ui/MainWindow.h"

namespace keldra::testing {

// The ten totals as the main window's labels show them, read label by label.
inline std::vector<std::string> TotalsShown(const MainWindow& m) {
  return {m.total_qsos.Caption(),   m.total_km.Caption(),   m.total_multipliers.Caption(),
          m.total_points.Caption(), m.average_km.Caption(), m.odx_call.Caption(),
          m.odx_locator.Caption(),  m.odx_km.Caption(),     m.iqrp_qsos.Caption(),
          m.mqc_qsos.Caption()};
}

class MainWindowTest : public ProgramTest {
 protected:
  void SetUp() override { WriteBytes(File("config.txt"), kLoggingStationFile); }

  MainWindow& Main() { return program().Get<MainWindow>(); }

  // Switches to off-line as the mode button does, with the date typed in.
  void GoOffLine(const std::string& date = "16/07/23") {
    Main().SetOffLine(true);
    Main().date.SetLocked(false);
    Main().time.SetLocked(false);
    Main().date.SetText(date);
  }

  // The QSO-specific fields, written as code would write them (each field's own rules run).
  void Row(const std::string& call, const std::string& serial, const std::string& locator,
           const std::string& club = "") {
    Main().call.SetText(call);
    Main().serial_received.SetText(serial);
    Main().locator.SetText(locator);
    Main().club_code.SetText(club);
  }

  std::string Focused() const {
    const Control* c = program_->Desktop().ActiveControl();
    return c == nullptr ? "(none)" : c->Name();
  }

  std::string LastMessage() const {
    return messages_.shown.empty() ? "" : Cp1252ToUtf8(messages_.shown.back().text);
  }
};

}  // namespace keldra::testing
