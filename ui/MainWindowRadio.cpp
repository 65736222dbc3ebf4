// The rig and the rotator in the main window: the rig's frequency, link and mode, the antenna's
// real heading beside the QTF needle, turning the antenna to the QSO, and the CW messages on
// F1-F4 (through the keyer, MainWindowKeyer.cpp). Device readings arrive as events on the
// user-interface thread; with no device set up none of this changes what the window does.
#include <cmath>
#include <numbers>

#include "core/RigAndRotator.h"
#include "core/Text.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/RadioWindow.h"

namespace keldra {
namespace {

constexpr Color kConnectedGreen{0, 128, 0};
constexpr Color kWarningRed{200, 0, 0};
constexpr Color kAntennaBlue{0, 70, 200};
constexpr Color kGrey{110, 110, 110};
// The antenna needle is a little shorter than the QTF needle, so both show when they agree.
constexpr double kAntennaNeedleLength = 540;

// The QTF on screen, when there is one ("??????" or nothing for an unknown locator).
std::optional<double> ShownBearing(const std::string& caption) {
  const std::string shown = Trim(caption);
  if (shown.empty() || !IsAllDigits(Left(shown, 1))) {
    return std::nullopt;
  }
  return LeadingNumber(shown);
}

}  // namespace

void MainWindow::LayoutRadio() {
  Place(rig_frequency, 138, 20, 84, 20, &pointing_frame);
  rig_frequency.SetFont({.bold = true, .points = 10});
  rig_frequency.SetAlign(Alignment::kCenter);
  rig_frequency.SetToolTip("Frequenza della radio (MHz)");
  Place(rig_state, 138, 40, 84, 16, &pointing_frame);
  rig_state.SetFont({.points = 8});
  rig_state.SetAlign(Alignment::kCenter);
  Place(antenna_heading, 140, 104, 76, 18, &pointing_frame);
  antenna_heading.SetFont({.bold = true});
  antenna_heading.SetAlign(Alignment::kCenter);
  antenna_heading.SetForeColor(kAntennaBlue);
  antenna_heading.SetToolTip("Direzione reale dell'antenna");
  antenna_heading.SetVisible(false);
  Place(antenna_needle, 0, 0, 0, 0, &compass);
  antenna_needle.SetPoints(Px(60), Px(60), Px(60), Px(24));
  antenna_needle.SetThickness(2);
  antenna_needle.SetForeColor(kAntennaBlue);
  antenna_needle.SetVisible(false);
  Place(turn_button, 10, 192, 64, 26, &pointing_frame);
  Place(stop_button, 80, 192, 64, 26, &pointing_frame);
  Place(radio_button, 150, 192, 66, 26, &pointing_frame);
  turn_button.SetToolTip("Ruota l'antenna verso il QTF (Ctrl+R; Ctrl+L percorso lungo)");
  stop_button.SetToolTip("Ferma il rotore (Ctrl+S)");
  radio_button.SetToolTip("Radio e rotore");
  turn_button.SetEnabled(false);
  stop_button.SetEnabled(false);
  OnRigChanged({});
}

void MainWindow::WireRadio() {
  turn_button.Click = [this] { TurnAntenna(false); };
  stop_button.Click = [this] { OnStopAntennaPressed(); };
  radio_button.Click = [this] { OnRadioSettingsPressed(); };
  // The radio keys work from every field of the row and from the QSO list, before the field's
  // own keys.
  KeysBeforeFields(true, [this](TextBox& /*field*/, int key_code, KeyModifiers modifiers) {
    return OnRadioKey(key_code, modifiers);
  });
}

void MainWindow::StartRadio() {
  const std::filesystem::path path = program_.File(kRadioFileName);
  // A damaged file still gives what it can; the operator learns that the rest was not read.
  if (program_.Disk().Exists(path)) {
    const ReadResult read = program_.Disk().Read(path);
    const RadioSettingsRead settings = ReadRadioSettings(read.bytes);
    if (!read.status) {
      program_.Message(Cp1252("Le impostazioni di radio e rotore non sono state lette.\n" +
                              read.status.Describe()),
                       MessageIcon::kCritical);
    } else if (settings.skipped_lines > 0) {
      program_.Message(
          Cp1252("radio.txt: righe non valide ignorate: " + std::to_string(settings.skipped_lines) +
                 ". Controllare le impostazioni con \"Radio...\"."));
    }
    radio_settings_ = settings.settings;
    if (read.status && settings.skipped_lines == 0) {
      kept_wpm_ = radio_settings_.keyer.wpm;
    }
  }
  Radio& radio = program_.Devices();
  radio.RigChanged = [this](const RigReading& reading) { OnRigChanged(reading); };
  radio.RotatorChanged = [this](const RotatorReading& reading) { OnRotatorChanged(reading); };
  radio.MorseSent = [this](const std::string& text, bool sent) { OnMorseSent(text, sent); };
  UseHamlibDaemons();
  if (radio_settings_.rig.model != 0 || radio_settings_.rotator.model != 0) {
    radio.Connect(radio_settings_.rig, radio_settings_.rotator);
  }
  StartKeyer();
}

void MainWindow::ApplyRadioSettings(const RadioSettings& settings) {
  radio_settings_ = settings;
  kept_wpm_ = settings.keyer.wpm;
  program_.Devices().UseLibraryFolder(settings.hamlib_folder);
  program_.Devices().Connect(settings.rig, settings.rotator);
  StartKeyer();
}

// Where the program starts Hamlib's daemons itself: in their folder, and what stops one is told.
void MainWindow::UseHamlibDaemons() {
  Radio& radio = program_.Devices();
  radio.UseLibraryFolder(radio_settings_.hamlib_folder);
  radio.LinkProblem = [this](const std::string& problem) {
    program_.Message(Cp1252("Radio e rotore: " + problem), MessageIcon::kCritical);
  };
}

void MainWindow::OnRigChanged(const RigReading& reading) {
  const std::string previous_mode = rig_reading_.mode;
  rig_reading_ = reading;
  const bool connected = reading.state == LinkState::kConnected;
  rig_frequency.SetCaption(
      connected && reading.frequency_hz > 0 ? FrequencyText(reading.frequency_hz) : std::string());
  rig_frequency.SetForeColor(InContestBand(reading.frequency_hz) ? kBlack : kWarningRed);
  switch (reading.state) {
    case LinkState::kNone:
      rig_state.SetCaption("nessuna radio");
      rig_state.SetForeColor(kGrey);
      break;
    case LinkState::kConnecting:
      rig_state.SetCaption("connessione...");
      rig_state.SetForeColor(kGrey);
      break;
    case LinkState::kNotConnected:
      rig_state.SetCaption("non connessa");
      rig_state.SetForeColor(kWarningRed);
      break;
    case LinkState::kConnected:
      rig_state.SetCaption(reading.mode.empty() ? "connessa" : "connessa, " + reading.mode);
      rig_state.SetForeColor(kConnectedGreen);
      break;
  }
  // The rig's mode sets the field when it changes, with the reports the arrow keys give; a mode
  // the contest does not have, or a field the operator emptied, is left alone.
  if (!connected || reading.mode == previous_mode) {
    return;
  }
  const std::optional<std::string> contest_mode = ContestModeOf(reading.mode);
  if (!contest_mode || *contest_mode == mode.Text() ||
      (mode.Text() != "SSB" && mode.Text() != "CW")) {
    return;
  }
  const bool ssb = *contest_mode == "SSB";
  mode.SetText(*contest_mode);
  rst_sent.SetText(ssb ? "59" : "599");
  rst_received.SetText(ssb ? "59" : "599");
}

void MainWindow::OnRotatorChanged(const RotatorReading& reading) {
  rotator_reading_ = reading;
  const bool connected = reading.state == LinkState::kConnected && reading.azimuth.has_value();
  turn_button.SetEnabled(connected);
  stop_button.SetEnabled(connected);
  antenna_needle.SetVisible(connected);
  antenna_heading.SetVisible(reading.state != LinkState::kNone);
  if (!connected) {
    const bool connecting = reading.state == LinkState::kConnecting;
    antenna_heading.SetCaption(connecting ? "rotore ..." : "rotore ---");
    antenna_heading.SetForeColor(connecting ? kGrey : kWarningRed);
    antenna_heading.SetToolTip(connecting ? "Collegamento al rotore in corso"
                                          : "Rotore non connesso");
    return;
  }
  const double heading = AntennaHeading(*reading.azimuth, radio_settings_.antenna_offset);
  antenna_heading.SetCaption("ant. " + std::to_string(std::lround(heading) % 360) + Cp1252("°"));
  antenna_heading.SetForeColor(kAntennaBlue);
  antenna_heading.SetToolTip("Direzione reale dell'antenna");
  const double angle = (heading - 90) * std::numbers::pi / 180;
  antenna_needle.SetEnd(
      antenna_needle.X1() + static_cast<int>(std::lround(kAntennaNeedleLength * std::cos(angle))),
      antenna_needle.Y1() + static_cast<int>(std::lround(kAntennaNeedleLength * std::sin(angle))));
}

void MainWindow::OnMorseSent(const std::string& text, bool sent) {
  rig_state.SetToolTip((sent ? "Ultimo messaggio CW: " : "Messaggio CW non inviato: ") + text);
  if (!sent) {
    rig_state.SetCaption("CW non inviato");
    rig_state.SetForeColor(kWarningRed);
  }
}

void MainWindow::TurnAntenna(bool long_path) {
  const std::optional<double> qtf = ShownBearing(bearing.Caption());
  if (!qtf || rotator_reading_.state != LinkState::kConnected) {
    return;
  }
  program_.Devices().TurnTo(RotatorTarget(*qtf, radio_settings_.antenna_offset, long_path));
}

void MainWindow::OnStopAntennaPressed() {
  if (rotator_reading_.state == LinkState::kConnected) {
    program_.Devices().StopTurning();
  }
}

void MainWindow::OnRadioSettingsPressed() { program_.Get<RadioWindow>().Show(); }

bool MainWindow::RigKeys() const {
  return rig_reading_.state == LinkState::kConnected &&
         ContestModeOf(rig_reading_.mode) == std::optional<std::string>("CW");
}

bool MainWindow::OnRadioKey(int key_code, KeyModifiers modifiers) {
  const bool rotator = rotator_reading_.state == LinkState::kConnected;
  if (modifiers.control && !modifiers.alt && !modifiers.shift) {
    switch (key_code) {
      case 'R':
      case 'L':
        if (rotator) {
          TurnAntenna(key_code == 'L');
        }
        return rotator;
      case 'S':
        OnStopAntennaPressed();
        return rotator;
      default:
        return false;
    }
  }
  return false;  // the CW keys are the keyer's (MainWindowKeyer.cpp)
}

}  // namespace keldra
