#include "ui/RadioWindow.h"

#include <algorithm>
#include <cmath>

#include "core/RigAndRotator.h"
#include "core/Text.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

constexpr int kSpeeds[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

void FillModels(ComboBox& list, std::vector<int>& numbers, const std::vector<DeviceModel>& models,
                int chosen) {
  list.Clear();
  numbers.clear();
  list.AddItem("nessuno");
  numbers.push_back(0);
  for (const DeviceModel& model : models) {
    list.AddItem(Utf8ToCp1252(model.name) + " (" + std::to_string(model.number) + ")");
    numbers.push_back(model.number);
  }
  // A model the library no longer lists stays chosen, by its number.
  if (std::find(numbers.begin(), numbers.end(), chosen) == numbers.end()) {
    list.AddItem("modello " + std::to_string(chosen));
    numbers.push_back(chosen);
  }
  list.SetListIndex(
      static_cast<int>(std::find(numbers.begin(), numbers.end(), chosen) - numbers.begin()));
}

void FillSpeeds(ComboBox& list, int chosen) {
  list.Clear();
  list.AddItem("predefinita");
  int index = 0;
  for (const int speed : kSpeeds) {
    list.AddItem(std::to_string(speed));
    if (speed == chosen) {
      index = list.ListCount() - 1;
    }
  }
  if (chosen > 0 && index == 0) {
    list.AddItem(std::to_string(chosen));
    index = list.ListCount() - 1;
  }
  list.SetListIndex(index);
}

int ChosenModel(const ComboBox& list, const std::vector<int>& numbers) {
  const int index = list.ListIndex();
  return index > 0 && index < static_cast<int>(numbers.size()) ? numbers[index] : 0;
}

int ChosenSpeed(const ComboBox& list) {
  return list.ListIndex() > 0 ? static_cast<int>(LeadingNumber(list.Text())) : 0;
}

// What answered, when the link tells: " (Hamlib Dummy)".
std::string Named(const std::string& name) {
  return name.empty() ? std::string() : " (" + Utf8ToCp1252(name) + ")";
}

std::string RigFound(const ProbeResult& result) {
  switch (result.rig.state) {
    case LinkState::kNone:
      return "Radio: nessuna.";
    case LinkState::kConnecting:
    case LinkState::kNotConnected:
      return "Radio: non risponde (" + Utf8ToCp1252(result.rig_problem) + ").";
    case LinkState::kConnected:
      break;
  }
  return "Radio: connessa" + Named(result.rig_name) + ", " +
         FrequencyText(result.rig.frequency_hz) + " MHz" +
         (result.rig.mode.empty() ? "" : " " + result.rig.mode) + ".";
}

std::string RotatorFound(const ProbeResult& result) {
  switch (result.rotator.state) {
    case LinkState::kNone:
      return "Rotore: nessuno.";
    case LinkState::kConnecting:
    case LinkState::kNotConnected:
      return "Rotore: non risponde (" + Utf8ToCp1252(result.rotator_problem) + ").";
    case LinkState::kConnected:
      break;
  }
  return "Rotore: connesso" + Named(result.rotator_name) + ", a " +
         std::to_string(std::lround(result.rotator.azimuth.value_or(0))) + Cp1252("°.");
}

}  // namespace

RadioWindow::RadioWindow(Program& program)
    : Form(program.Desktop(), "RadioWindow", "Radio e rotore", Px(860), Px(536)),
      program_(program) {
  Layout();
  LayoutHamlib();
  LayoutKeyer();
  probe_button.Click = [this] { OnProbePressed(); };
  save_button.Click = [this] { OnSavePressed(); };
  exit_button.Click = [this] { OnExitPressed(); };
  Fill(program_.Get<MainWindow>().RadioSetup());
  FillVoice(program_.Get<MainWindow>().RadioSetup().voice);
}

void RadioWindow::Layout() {
  const struct {
    Frame* frame;
    Label* model_caption;
    ComboBox* model;
    Label* port_caption;
    TextBox* port;
    Label* speed_caption;
    ComboBox* speed;
    int top;
  } devices[] = {{&rig_frame, &rig_model_caption, &rig_model, &rig_port_caption, &rig_port,
                  &rig_speed_caption, &rig_speed, 8},
                 {&rotator_frame, &rotator_model_caption, &rotator_model, &rotator_port_caption,
                  &rotator_port, &rotator_speed_caption, &rotator_speed, 112}};
  for (const auto& d : devices) {
    Place(*d.frame, 8, d.top, 544, d.frame == &rotator_frame ? 128 : 96);
    Place(*d.model_caption, 10, 24, 80, 20, d.frame);
    Place(*d.model, 96, 20, 436, 26, d.frame);
    Place(*d.port_caption, 10, 60, 80, 20, d.frame);
    Place(*d.port, 96, 56, 200, 26, d.frame);
    Place(*d.speed_caption, 310, 60, 70, 20, d.frame);
    Place(*d.speed, 382, 56, 150, 26, d.frame);
    d.port->SetToolTip(Cp1252(program_.Devices().PortHint(d.frame == &rotator_frame)));
  }
  Place(antenna_offset_caption, 10, 96, 180, 20, &rotator_frame);
  Place(antenna_offset, 196, 92, 60, 26, &rotator_frame);
  antenna_offset.SetToolTip("Gradi in senso orario tra la posizione del rotore e l'antenna");
  Place(auto_turn, 16, 246, 530, 22);

  Place(messages_frame, 8, 274, 544, 192);
  for (int i = 0; i < 4; ++i) {
    Place(message_captions[i], 10, 24 + 32 * i, 30, 20, &messages_frame);
    message_captions[i].SetFont({.bold = true});
    Place(messages[i], 44, 20 + 32 * i, 488, 26, &messages_frame);
  }
  Place(fields_hint, 10, 152, 524, 34, &messages_frame);
  fields_hint.SetFont({.points = 8});

  Place(probe_result, 8, 474, 320, 54);
  probe_result.SetFont({.points = 8});
  Place(probe_button, 332, 488, 68, 32);
  Place(save_button, 408, 488, 68, 32);
  save_button.SetFont({.bold = true});
  Place(exit_button, 484, 488, 68, 32);
  LayoutVoice();
}

void RadioWindow::Fill(const RadioSettings& settings) {
  FillModelLists(settings.rig.model, settings.rotator.model);
  rig_port.SetText(settings.rig.port);
  rotator_port.SetText(settings.rotator.port);
  FillSpeeds(rig_speed, settings.rig.speed);
  FillSpeeds(rotator_speed, settings.rotator.speed);
  antenna_offset.SetText(std::to_string(settings.antenna_offset));
  auto_turn.SetValue(settings.auto_turn ? 1 : 0);
  for (int i = 0; i < 4; ++i) {
    messages[i].SetText(settings.messages[i]);
  }
  hamlib_folder.SetText(settings.hamlib_folder);
  ShowHamlib();
  FillKeyer(settings);
}

void RadioWindow::FillModelLists(int rig, int rotator) {
  Radio& radio = program_.Devices();
  FillModels(rig_model, rig_models_, radio.RigModels(), rig);
  FillModels(rotator_model, rotator_models_, radio.RotatorModels(), rotator);
}

int RadioWindow::ChosenModelNumber(bool rotator) const {
  return rotator ? ChosenModel(rotator_model, rotator_models_)
                 : ChosenModel(rig_model, rig_models_);
}

std::optional<RadioSettings> RadioWindow::Settings() {
  RadioSettings settings;
  settings.rig = {ChosenModel(rig_model, rig_models_), Trim(rig_port.Text()),
                  ChosenSpeed(rig_speed)};
  settings.rotator = {ChosenModel(rotator_model, rotator_models_), Trim(rotator_port.Text()),
                      ChosenSpeed(rotator_speed)};
  const std::optional<int> degrees = WholeNumber(Trim(antenna_offset.Text()), -360, 360);
  if (!degrees) {
    program_.Message("Correzione antenna: un numero intero di gradi tra -360 e 360.",
                     MessageIcon::kNone);
    antenna_offset.SetFocus();
    return std::nullopt;
  }
  settings.antenna_offset = *degrees;
  settings.auto_turn = auto_turn.Value() != 0;
  for (int i = 0; i < 4; ++i) {
    settings.messages[i] = Trim(messages[i].Text());
  }
  settings.hamlib_folder = Trim(hamlib_folder.Text());
  if (!VoiceSettings(settings) || !KeyerSettings(settings)) {
    return std::nullopt;
  }
  return settings;
}

void RadioWindow::OnProbePressed() {
  const std::optional<RadioSettings> settings = Settings();
  if (!settings) {
    return;
  }
  probe_result.SetCaption("Prova in corso...");
  ProbeKeyer(*settings);
  program_.Devices().Probe(settings->rig, settings->rotator, [this](const ProbeResult& result) {
    if (Loaded()) {
      ShowProbe(result);
    }
  });
}

void RadioWindow::ShowProbe(const ProbeResult& result) {
  probe_result.SetCaption(RigFound(result) + "\n" + RotatorFound(result));
}

void RadioWindow::OnSavePressed() {
  const std::optional<RadioSettings> settings = Settings();
  if (!settings) {
    return;
  }
  const IoStatus status =
      program_.Disk().Replace(program_.File(kRadioFileName), RadioSettingsText(*settings));
  if (!status) {
    // The window stays open with what was set, so the operator can try again.
    program_.Message(
        Cp1252("Le impostazioni di radio e rotore non sono state salvate.\n" + status.Describe()),
        MessageIcon::kCritical);
    return;
  }
  program_.Get<MainWindow>().ApplyRadioSettings(*settings);
  Unload();
}

}  // namespace keldra
