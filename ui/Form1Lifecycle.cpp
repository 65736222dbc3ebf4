// Start-up, activation, on-line/off-line mode, "Crea LOG", and the end of the program.
#include <array>
#include <string_view>

#include "core/StateFile.h"
#include "core/Text.h"
#include "data/StationConfig.h"
#include "platform/CodePage.h"
#include "ui/ContestFile.h"
#include "ui/Form1.h"
#include "ui/Form2.h"
#include "ui/Form22222.h"
#include "ui/Form3.h"
#include "ui/Form5.h"

namespace keldra {
namespace {

constexpr std::array<std::string_view, 3> kAdministratorCalls = {"QX0ZZA", "QX0ZZB", "QX0ZZC"};

bool OffLine(const TextBox& mode_flag) { return LeadingNumber(mode_flag.Text()) == 1; }

}  // namespace

void Form1::Form1_Load() {
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
      Label39.SetCaption(*station.call);
      Form2& edi = program_.Get<Form2>();
      edi.Text2.SetText(*station.call);
      edi.Text14.SetText(*station.call);
    }
    if (station.locator) {
      Label40.SetCaption(*station.locator);
      program_.Get<Form22222>().Text3.SetText(*station.locator);
      program_.Get<Form2>().Text3.SetText(*station.locator);
    }
    if (station.iqrp) Label41.SetCaption(*station.iqrp);
    if (station.mqc) Label42.SetCaption(*station.mqc);
  } else {
    program_.Get<Form3>().Show();
    shown_instead = true;
  }

  // 2-4. On-line, date and time are the clock's, in UTC, and locked against typing.
  if (!OffLine(Text15)) {
    const DateTime utc = program_.Time().Utc();
    Text2.SetText(FormatDateShort(utc));
    Text3.SetText(FormatTime(utc));
    Text2.SetLocked(true);
    Text3.SetLocked(true);
  }
  // 5.
  if (OffLine(Text15)) {
    Text2.SetText({});
    Text3.SetText({});
  }

  // 6. A contest on disk is offered to be continued before anything else.
  if (program_.Disk().Exists(program_.File(kStateFileName))) {
    program_.Get<Form5>().Show();
    shown_instead = true;
  }
  if (!shown_instead) Show();

  // 7.
  if (Label47.Caption() == "Admin") Command11.SetVisible(true);
}

void Form1::Form1_Activate() {
  if (OffLine(Text15)) {
    Text2.SetLocked(false);
    Text3.SetLocked(false);
    Text2.SetFocus();
  } else {
    Text6.SetFocus();
  }
}

// The order in which the windows close is Program::End's; nothing is saved at the end, as the
// state file is rewritten after every change of the contest.
void Form1::Form1_Unload() {}

void Form1::Form1_Command2_Click() {
  if (Text12.Text().size() < 21) {
    program_.Message("E' necessario inserire almeno un QSO per generare il Log...");
    return;
  }
  program_.Get<Form2>().Show();
}

// A contest whose last save failed is saved once more before the end. If that fails too, the
// program stays open so the operator can free the disk and try again; a second "Esci" ends it.
void Form1::Form1_Command3_Click() {
  if (save_pending && !exit_warned && !SaveContest(program_, *this)) {
    exit_warned = true;
    program_.Message(U8("Il contest non è salvato su disco: liberare spazio o controllare la "
                        "cartella e premere OK per salvarlo. Premendo di nuovo Esci il programma "
                        "si chiude e i QSO non salvati vanno persi."),
                     MessageIcon::kCritical);
    return;
  }
  program_.End();
}

void Form1::Form1_Command7_Click() {
  program_.Message("Controllare sempre di immettere l'orario in formato UTC...");
  if (!OffLine(Text15)) {
    Text15.SetText("1");
    Label46.SetCaption("off-line");
    Command9.SetVisible(true);
    Text2.SetLocked(false);
    Text3.SetLocked(false);
  } else {
    Text15.SetText("0");
    Label46.SetCaption("on-line");
    Command9.SetVisible(false);
    Text2.SetLocked(true);
    Text3.SetLocked(true);
  }
}

void Form1::Form1_Command9_Click() {
  const DateTime local = program_.Time().Local();
  Text2.SetText(FormatDateShort(local));
  Text3.SetText(FormatTime(local));
  Text2.SetFocus();
}

void Form1::Form1_Label39_Change() {
  bool admin = false;
  for (std::string_view call : kAdministratorCalls) admin = admin || Label39.Caption() == call;
  Label47.SetCaption(admin ? "Admin" : "User");
}

void Form1::Form1_Text15_Change() {
  if (!OffLine(Text15)) return;
  Label46.SetCaption("off-line");
  Text2.SetText({});
  Text3.SetText({});
  Command9.SetVisible(true);
  // Off-line the date and time are typed: they open for typing at once, whichever window set
  // the flag, rather than waiting for the main window to be activated again.
  Text2.SetLocked(false);
  Text3.SetLocked(false);
  Text2.SetFocus();
}

}  // namespace keldra
