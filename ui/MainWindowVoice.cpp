// The voice messages in the main window: in SSB, F1-F4 play the operator's recordings of
// messaggi/F1.wav … F4.wav with the transmitter keyed (F1 again and again when a repeat is set),
// Shift+F1-F4 play them without PTT to check them, Ctrl+Shift+F1-F4 record them from the
// microphone; Esc, or typing in the callsign field, stops at once. The sound and the PTT are the
// voice player's, on its own thread; this only starts, stops and shows what it tells.
#include <algorithm>
#include <filesystem>

#include "data/Wav.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

constexpr Color kOnAirRed{200, 0, 0};
constexpr Color kListenBlue{0, 70, 200};
constexpr Color kGrey{110, 110, 110};
constexpr int kRecordRate = 16000;
constexpr int kLevelSteps = 20;

std::string KeyName(int message) { return "F" + std::to_string(message + 1); }

// A key that puts a character in a field, or takes one away.
bool Typing(int key_code, KeyModifiers modifiers) {
  if (modifiers.control || modifiers.alt) {
    return false;
  }
  return key_code == key::kBackspace || key_code == key::kSpace || key_code == key::kDelete ||
         (key_code >= '0' && key_code <= '9') || (key_code >= 'A' && key_code <= 'Z') ||
         (key_code >= key::kNumpad0 && key_code <= key::kNumpad0 + 15) ||
         (key_code >= 186 && key_code <= 226);
}

}  // namespace

void MainWindow::LayoutVoice() {
  Place(voice_status, 506, 8, 340, 26);
  voice_status.SetFont({.bold = true, .points = 11});
  voice_status.SetToolTip(Cp1252(
      "Messaggi vocali in SSB: F1-F4 trasmette, Maiusc+F1-F4 ascolta, Ctrl+Maiusc+F1-F4 registra, "
      "Esc ferma"));
}

void MainWindow::WireVoice() {
  KeysBeforeFields(true, [this](TextBox& field, int key_code, KeyModifiers modifiers) {
    return OnVoiceKey(field, key_code, modifiers);
  });
}

void MainWindow::StartVoice() {
  VoicePlayer* voice = program_.Voice();
  if (voice == nullptr) {
    return;
  }
  voice->Started = [this] { OnVoiceStarted(); };
  voice->Paused = [this] {
    voice_status.SetCaption("CQ: di nuovo tra " +
                            std::to_string(radio_settings_.voice.repeat_seconds) +
                            " s (Esc ferma)");
    voice_status.SetForeColor(kGrey);
  };
  voice->Level = [this](int percent) { OnVoiceLevel(percent); };
  voice->Finished = [this](const VoiceOutcome& outcome) { OnVoiceFinished(outcome); };
}

void MainWindow::EndVoice() {
  if (VoicePlayer* voice = program_.Voice()) {
    // The player outlives the window: the transmitter is released now, not at its end.
    voice->Stop();
    voice->Started = nullptr;
    voice->Paused = nullptr;
    voice->Level = nullptr;
    voice->Finished = nullptr;
  }
}

std::filesystem::path MainWindow::VoiceMessagePath(int message) const {
  return program_.File(kVoiceFolder) / (KeyName(message) + ".wav");
}

bool MainWindow::OnVoiceKey(TextBox& field, int key_code, KeyModifiers modifiers) {
  VoicePlayer* voice = program_.Voice();
  if (voice == nullptr) {
    return false;
  }
  const int message = key_code - key::kF1;
  const bool f_key = message >= 0 && message < 4 && !modifiers.alt;
  if (f_key && modifiers.control && modifiers.shift) {
    if (voice_recording_ && voice->Busy()) {
      voice->Stop();
    } else {
      RecordVoiceMessage(message);
    }
    return true;
  }
  if (voice->Busy() && key_code == key::kEscape) {
    voice->Stop();
    return true;
  }
  if (voice->Busy() && !voice_recording_ && &field == &call && Typing(key_code, modifiers)) {
    // The operator answers a station: the message stops and the key still types.
    voice->Stop();
    return false;
  }
  if (!f_key || modifiers.control || mode.Text() != "SSB" || RigKeys()) {
    return false;
  }
  if (!voice_recording_ || !voice->Busy()) {
    PlayVoiceMessage(message, !modifiers.shift);
  }
  return true;
}

void MainWindow::PlayVoiceMessage(int message, bool on_air) {
  const std::filesystem::path path = VoiceMessagePath(message);
  const std::string name = path.string();
  if (!program_.Disk().Exists(path)) {
    program_.Message(Cp1252(WavMissingText(name)), MessageIcon::kCritical);
    return;
  }
  const ReadResult read = program_.Disk().Read(path);
  if (!read.status) {
    program_.Message(Cp1252("Il file " + name + " non è stato letto.\n" + read.status.Describe()),
                     MessageIcon::kCritical);
    return;
  }
  WavRead wav = ReadWav(read.bytes);
  if (wav.problem != WavProblem::kNone) {
    program_.Message(Cp1252(WavProblemText(wav.problem, name)), MessageIcon::kCritical);
    return;
  }
  auto sound =
      std::make_shared<VoiceSound>(VoiceSound{wav.sound.rate, std::move(wav.sound.samples)});
  voice_message_ = message;
  voice_recording_ = false;
  voice_on_air_ = on_air;
  voice_status.SetCaption((on_air ? "TX " : "Ascolto ") + KeyName(message) + "...");
  voice_status.SetForeColor(on_air ? kOnAirRed : kListenBlue);
  const bool repeat = on_air && message == 0 && radio_settings_.voice.repeat_seconds > 0;
  program_.Voice()->Play(radio_settings_.voice, std::move(sound), on_air, repeat);
}

void MainWindow::RecordVoiceMessage(int message) {
  voice_message_ = message;
  voice_recording_ = true;
  voice_level_events_ = 0;
  voice_status.SetCaption("REC " + KeyName(message) + "...");
  voice_status.SetForeColor(kOnAirRed);
  program_.Voice()->Record(radio_settings_.voice, kRecordRate, kMaxRecordSeconds);
}

void MainWindow::OnVoiceStarted() {
  if (voice_recording_) {
    return;
  }
  voice_status.SetCaption((voice_on_air_ ? "TX " : "Ascolto ") + KeyName(voice_message_) +
                          " (Esc ferma)");
  voice_status.SetForeColor(voice_on_air_ ? kOnAirRed : kListenBlue);
}

void MainWindow::OnVoiceLevel(int percent) {
  // The player reads the microphone in pieces of 50 ms.
  const int seconds = ++voice_level_events_ / 20;
  const int bars = std::min(kLevelSteps, percent * kLevelSteps / 100);
  voice_status.SetCaption("REC " + KeyName(voice_message_) + " " + std::to_string(seconds) +
                          " s [" + std::string(static_cast<std::size_t>(bars), '|') +
                          std::string(static_cast<std::size_t>(kLevelSteps - bars), ' ') + "]");
  voice_status.SetForeColor(percent >= 99 ? kOnAirRed : kGrey);
}

void MainWindow::OnVoiceFinished(const VoiceOutcome& outcome) {
  const std::string key_name = KeyName(voice_message_);
  if (program_.Voice() != nullptr && program_.Voice()->Busy()) {
    return;  // a message the operator replaced by the next; the next one shows itself
  }
  voice_status.SetCaption("");
  if (outcome.recording) {
    SaveVoiceRecording(outcome);
    return;
  }
  if (outcome.kind == VoiceOutcome::Kind::kFailed) {
    program_.Message(Cp1252("Messaggio " + key_name + " non trasmesso: " + outcome.problem +
                            (voice_on_air_ ? "\nPTT rilasciato." : "")),
                     MessageIcon::kCritical);
  }
}

void MainWindow::SaveVoiceRecording(const VoiceOutcome& outcome) {
  const std::string key_name = KeyName(voice_message_);
  if (outcome.kind == VoiceOutcome::Kind::kFailed) {
    program_.Message(Cp1252("Registrazione di " + key_name + " non riuscita: " + outcome.problem +
                            "\nIl messaggio di prima resta com'era."),
                     MessageIcon::kCritical);
    return;
  }
  if (outcome.recorded.samples.empty()) {
    return;
  }
  const std::filesystem::path path = VoiceMessagePath(voice_message_);
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  const IoStatus saved =
      program_.Disk().Replace(path, WavBytes({outcome.recorded.rate, outcome.recorded.samples}));
  if (!saved) {
    program_.Message(Cp1252("Il messaggio " + key_name + " non è stato salvato in " +
                            path.string() + ".\n" + saved.Describe()),
                     MessageIcon::kCritical);
    return;
  }
  const auto tenths = outcome.recorded.samples.size() * 10 / static_cast<std::size_t>(kRecordRate);
  voice_status.SetCaption(key_name + " registrato (" + std::to_string(tenths / 10) + "," +
                          std::to_string(tenths % 10) + " s" +
                          (outcome.kind == VoiceOutcome::Kind::kPlayed ? ", al limite" : "") +
                          "): Maiusc+" + key_name + " per ascoltarlo");
  voice_status.SetForeColor(kListenBlue);
}

}  // namespace keldra
