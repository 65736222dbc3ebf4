// Start-up, activation, on-line/off-line mode, "Crea LOG", and the end of the program.
#include <array>
#include <string_view>

#include "core/StateFile.h"
#include "core/Text.h"
#include "data/StationConfig.h"
#include "system/CodePage.h"
#include "ui/Calculator.h"
#include "ui/ContestFile.h"
#include "ui/EdiHeaderWindow.h"
#include "ui/MainWindow.h"
#include "ui/StartWindow.h"
#include "ui/StationWindow.h"

namespace keldra {
namespace {

constexpr std::array<std::string_view, 3> kAdministratorCalls = {"QX0ZZA", "QX0ZZB", "QX0ZZC"};

}  // namespace

void MainWindow::OnWindowLoaded() {
  // 1. The own station, from the station file; without it (or when it cannot be read) the
  // station window stands in.
  const std::filesystem::path station_file = program_.File(kStationFileName);
  bool shown_instead = false;
  const ReadResult read = program_.Disk().Exists(station_file)
                              ? program_.Disk().Read(station_file)
                              : ReadResult{IoStatus::Failed("apertura", station_file, {}), {}};
  if (read.status) {
    const StationConfigValues station = ReadStationConfig(read.bytes);
    if (station.call) {
      station_call.SetCaption(*station.call);
      EdiHeaderWindow& edi = program_.Get<EdiHeaderWindow>();
      edi.call.SetText(*station.call);
      edi.operators.SetText(*station.call);
    }
    if (station.locator) {
      station_locator.SetCaption(*station.locator);
      program_.Calculator().SetOwnLocator(*station.locator);
      program_.Get<EdiHeaderWindow>().locator.SetText(*station.locator);
    }
    if (station.iqrp) {
      station_iqrp_number.SetCaption(*station.iqrp);
    }
    if (station.mqc) {
      station_mqc_number.SetCaption(*station.mqc);
    }
  } else {
    program_.Get<StationWindow>().Show();
    shown_instead = true;
  }

  // 2-4. On-line, date and time are the clock's, in UTC, and locked against typing.
  if (!IsOffLine()) {
    const DateTime utc = program_.Time().Utc();
    date.SetText(FormatDateShort(utc));
    time.SetText(FormatTime(utc));
    date.SetLocked(true);
    time.SetLocked(true);
  }
  // 5.
  if (IsOffLine()) {
    date.SetText({});
    time.SetText({});
  }

  // 6. A contest on disk is offered to be continued before anything else.
  if (program_.Disk().Exists(program_.File(kStateFileName))) {
    program_.Get<StartWindow>().Show();
    shown_instead = true;
  }
  if (!shown_instead) {
    Show();
  }

  // 7.
  if (account.Caption() == "Admin") {
    administration_button.SetVisible(true);
  }

  StartHistoryLoad();
  StartRadio();
  StartAnnouncements();
  StartVoice();
}

void MainWindow::OnWindowActivated() {
  if (IsOffLine()) {
    date.SetLocked(false);
    time.SetLocked(false);
    date.SetFocus();
  } else {
    call.SetFocus();
  }
}

// The order in which the windows close is Program::End's; nothing is saved at the end, as the
// state file is rewritten after every change of the contest.
void MainWindow::OnWindowUnloaded() {
  // The devices outlive this window; their readings have nowhere to go now.
  Radio& radio = program_.Devices();
  radio.RigChanged = nullptr;
  radio.RotatorChanged = nullptr;
  radio.MorseSent = nullptr;
  EndVoice();
  StopKeyer();
  KeepKeyerSpeed();
  program_.Contest().Forget(log_observer_);
  StopAnnouncements();
}

void MainWindow::OnCreateLogPressed() {
  if (program_.Contest().QsoListText().size() < 21) {
    program_.Message("E' necessario inserire almeno un QSO per generare il Log...");
    return;
  }
  program_.Get<EdiHeaderWindow>().Show();
}

// A contest whose last save failed is saved once more before the end. If that fails too, the
// program stays open so the operator can free the disk and try again; a second "Esci" ends it.
void MainWindow::OnExitPressed() {
  if (save_pending && !exit_warned && !SaveContest(program_, *this)) {
    exit_warned = true;
    program_.Message(
        Cp1252("Il contest non è salvato su disco: liberare spazio o controllare la "
               "cartella e premere OK per salvarlo. Premendo di nuovo Esci il programma "
               "si chiude e i QSO non salvati vanno persi."),
        MessageIcon::kCritical);
    return;
  }
  program_.End();
}

void MainWindow::OnLoggingModePressed() {
  program_.Message("Controllare sempre di immettere l'orario in formato UTC...");
  if (!IsOffLine()) {
    SetOffLine(true);
    logging_mode.SetCaption("off-line");
    pc_date_time_button.SetVisible(true);
    date.SetLocked(false);
    time.SetLocked(false);
  } else {
    SetOffLine(false);
    logging_mode.SetCaption("on-line");
    pc_date_time_button.SetVisible(false);
    date.SetLocked(true);
    time.SetLocked(true);
  }
}

void MainWindow::OnPcDateTimePressed() {
  const DateTime local = program_.Time().Local();
  date.SetText(FormatDateShort(local));
  time.SetText(FormatTime(local));
  date.SetFocus();
}

void MainWindow::OnStationCallChanged() {
  bool admin = false;
  for (std::string_view administrator : kAdministratorCalls) {
    admin = admin || station_call.Caption() == administrator;
  }
  account.SetCaption(admin ? "Admin" : "User");
}

void MainWindow::SetOffLine(bool off_line) {
  if (off_line == off_line_) {
    return;
  }
  off_line_ = off_line;
  if (!off_line_) {
    return;
  }
  logging_mode.SetCaption("off-line");
  date.SetText({});
  time.SetText({});
  pc_date_time_button.SetVisible(true);
  // Off-line the date and time are typed: they open for typing at once, whichever window set
  // the flag, rather than waiting for the main window to be activated again.
  date.SetLocked(false);
  time.SetLocked(false);
  date.SetFocus();
}

}  // namespace keldra
