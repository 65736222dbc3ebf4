// CW from the main window: the keyer set in "Radio e rotore" (the rig's own, a WinKeyer or
// cwdaemon) sends F1-F4's messages, Esc stops it at once, PgUp and PgDn change its speed by
// 2 WPM (also while it sends), and, when asked for, Enter sends: in the callsign field F2's
// exchange for a call not yet logged, on a complete row F3's message, and the QSO is logged as
// "OK" logs it. The keyer's link and speed show under the rig's state.
#include "core/NewQsoCheck.h"
#include "core/RigAndRotator.h"
#include "core/Text.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

constexpr Color kConnectedGreen{0, 128, 0};
constexpr Color kWarningRed{200, 0, 0};
constexpr Color kGrey{110, 110, 110};
constexpr int kWpmStep = 2;

std::string KindName(KeyerKind kind) {
  switch (kind) {
    case KeyerKind::kWinKeyer:
      return "WinKeyer";
    case KeyerKind::kCwdaemon:
      return "cwdaemon";
    default:
      return "keyer della radio";
  }
}

}  // namespace

void MainWindow::LayoutKeyer() {
  Place(keyer_speed, 138, 124, 84, 22, &pointing_frame);
  keyer_speed.SetFont({.bold = true});
  keyer_speed.SetAlign(Alignment::kCenter);
  keyer_speed.SetVisible(false);
}

void MainWindow::WireKeyer() {
  // The CW keys come before the field's own (and the rig's and rotator's), from every field of
  // the row; the QSO list keeps its own page keys.
  KeysBeforeFields(false, [this](TextBox& field, int key_code, KeyModifiers modifiers) {
    return OnCwKey(field, key_code, modifiers);
  });
}

bool MainWindow::KeyerSet() const {
  const KeyerKind kind = radio_settings_.keyer.kind;
  return kind != KeyerKind::kNone && (kind != KeyerKind::kRig || radio_settings_.rig.model != 0);
}

bool MainWindow::CwKeying() const { return KeyerSet() && (mode.Text() == "CW" || RigKeys()); }

void MainWindow::StartKeyer() {
  keyer_.reset();  // a WinKeyer is closed before the next one opens its port
  keyer_state_ = {};
  keyer_problem_said_ = false;
  if (KeyerSet()) {
    keyer_ = program_.Keyers().Make(radio_settings_.keyer, program_.Devices());
  }
  if (keyer_) {
    keyer_->Changed = [this](const KeyerState& state) { OnKeyerChanged(state); };
    keyer_->Sent = [this](const std::string& text, bool sent) { OnKeyerSent(text, sent); };
    if (radio_settings_.keyer.kind != KeyerKind::kRig) {
      keyer_state_.link = LinkState::kConnecting;
    }
  }
  ShowKeyer();
}

void MainWindow::StopKeyer() { keyer_.reset(); }

void MainWindow::KeepKeyerSpeed() {
  // Only over a file read whole: a damaged radio.txt is the operator's to mend, not to lose.
  if (!kept_wpm_ || *kept_wpm_ == radio_settings_.keyer.wpm) {
    return;
  }
  if (program_.Disk().Replace(program_.File(kRadioFileName), RadioSettingsText(radio_settings_))) {
    kept_wpm_ = radio_settings_.keyer.wpm;
  }
}

void MainWindow::ShowKeyer() {
  keyer_speed.SetVisible(keyer_ != nullptr);
  const std::string wpm = std::to_string(radio_settings_.keyer.wpm) + " WPM";
  const std::string name = KindName(radio_settings_.keyer.kind);
  switch (keyer_state_.link) {
    case LinkState::kNone:
    case LinkState::kConnected:
      keyer_speed.SetCaption((keyer_state_.busy ? "CW> " : "CW ") + wpm);
      keyer_speed.SetForeColor(kConnectedGreen);
      keyer_speed.SetToolTip(Cp1252(keyer_state_.answered.empty() ? name : keyer_state_.answered) +
                             ", PagSu/PagGiu cambiano la velocit" + Cp1252("à"));
      break;
    case LinkState::kConnecting:
      keyer_speed.SetCaption("CW " + wpm);
      keyer_speed.SetForeColor(kGrey);
      keyer_speed.SetToolTip(name + ": connessione...");
      break;
    case LinkState::kNotConnected:
      keyer_speed.SetCaption("CW ---");
      keyer_speed.SetForeColor(kWarningRed);
      keyer_speed.SetToolTip(Cp1252(keyer_state_.problem));
      break;
  }
}

void MainWindow::OnKeyerChanged(const KeyerState& state) {
  keyer_state_ = state;
  if (state.wpm != 0) {
    radio_settings_.keyer.wpm = state.wpm;  // the WinKeyer's speed pot
  }
  if (state.link == LinkState::kConnected) {
    keyer_problem_said_ = false;
  }
  ShowKeyer();
}

void MainWindow::OnKeyerSent(const std::string& text, bool sent) {
  ShowKeyer();
  if (!sent) {
    keyer_speed.SetCaption("CW non inviato");
    keyer_speed.SetForeColor(kWarningRed);
  }
  keyer_speed.SetToolTip((sent ? "Ultimo messaggio CW: " : "Messaggio CW non inviato: ") + text);
}

std::optional<std::string> MainWindow::WhyNothingKeys() const {
  const KeyerLink& keyer = radio_settings_.keyer;
  if (keyer.kind == KeyerKind::kRig && !program_.Devices().HasCatKeyer(radio_settings_.rig.model)) {
    return Cp1252(
        "La radio scelta non ha un keyer CAT: il messaggio CW non è stato inviato.\n"
        "Scegliere un WinKeyer o cwdaemon in \"Radio...\".");
  }
  if (!keyer_) {
    return Cp1252(
        "Il keyer scelto non è disponibile in questo programma: il messaggio CW non è "
        "stato inviato.");
  }
  if (keyer_state_.link == LinkState::kNotConnected) {
    return Cp1252(KindName(keyer.kind) + " non connesso (" + keyer_state_.problem +
                  "): il messaggio CW non è stato inviato. Il programma riprova da solo.");
  }
  return std::nullopt;
}

void MainWindow::SendCwMessage(std::size_t index) {
  if (const std::optional<std::string> why = WhyNothingKeys()) {
    // Said once; after that the keyer's label tells.
    if (!keyer_problem_said_) {
      keyer_problem_said_ = true;
      program_.Message(*why, MessageIcon::kInformation);
    }
    keyer_speed.SetVisible(true);
    keyer_speed.SetCaption("CW non inviato");
    keyer_speed.SetForeColor(kWarningRed);
    return;
  }
  const CwFields fields{station_call.Caption(), Trim(call.Text()), qso_number.Text(),
                        station_locator.Caption()};
  keyer_->Send(FillCwMessage(radio_settings_.messages[index], fields));
}

void MainWindow::ChangeKeyerSpeed(int step) {
  radio_settings_.keyer.wpm = ClampWpm(radio_settings_.keyer.wpm + step);
  if (keyer_) {
    keyer_->SetSpeed(radio_settings_.keyer.wpm);
  }
  ShowKeyer();
}

bool MainWindow::OnCwKey(TextBox& field, int key_code, KeyModifiers modifiers) {
  if (modifiers.control || modifiers.alt || modifiers.shift || !KeyerSet()) {
    return false;
  }
  if (key_code == key::kPageUp || key_code == key::kPageDown) {
    ChangeKeyerSpeed(key_code == key::kPageUp ? kWpmStep : -kWpmStep);
    return true;
  }
  if (!CwKeying()) {
    return false;
  }
  if (key_code == key::kEscape) {
    if (keyer_) {
      keyer_->Stop();
    }
    return true;
  }
  const int message = key_code - key::kF1;
  if (message >= 0 && message < static_cast<int>(radio_settings_.messages.size())) {
    SendCwMessage(static_cast<std::size_t>(message));
    return true;
  }
  if (key_code == key::kEnter && radio_settings_.enter_sends) {
    return OnCwEnter(field);
  }
  return false;
}

bool MainWindow::OnCwEnter(TextBox& field) {
  const NewQsoTexts entry{date.Text(),
                          time.Text(),
                          mode.Text(),
                          call.Text(),
                          rst_sent.Text(),
                          rst_received.Text(),
                          serial_received.Text(),
                          locator.Text(),
                          Trim(club_code.Text())};
  if (!CheckNewQso(entry, IsOffLine(), Log()).refusal) {
    SendCwMessage(2);
    OnOkPressed();
    return true;
  }
  // A new call gets the exchange, and Enter goes on to the next field as ever.
  if (&field == &call && Trim(call.Text()).size() >= 3 && !duplicate_warning.Visible()) {
    SendCwMessage(1);
  }
  return false;
}

}  // namespace keldra
