// The rig and rotator settings window ("Radio e rotore"), opened from the main window: the rig's
// model, port and speed, the same for the rotator with the antenna's offset, the automatic turn,
// and the four CW messages. "Prova" opens the devices as set here and says what answered; "Salva"
// writes radio.txt and links the devices afresh; "Esci" leaves everything as it was.
#pragma once

#include <vector>

#include "data/RadioSettings.h"
#include "ui/Program.h"
#include "ui/RadioWindowKeyer.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"

namespace keldra {

class RadioWindow : public Form {
 public:
  explicit RadioWindow(Program& program);

  Frame rig_frame{*this, "RigFrame", "Radio"};
  Label rig_model_caption{*this, "RigModelCaption", "Modello"};
  ComboBox rig_model{*this, "RigModel"};
  Label rig_port_caption{*this, "RigPortCaption", "Porta"};
  TextBox rig_port{*this, "RigPort"};
  Label rig_speed_caption{*this, "RigSpeedCaption", Cp1252("Velocità")};
  ComboBox rig_speed{*this, "RigSpeed"};

  Frame rotator_frame{*this, "RotatorFrame", "Rotore"};
  Label rotator_model_caption{*this, "RotatorModelCaption", "Modello"};
  ComboBox rotator_model{*this, "RotatorModel"};
  Label rotator_port_caption{*this, "RotatorPortCaption", "Porta"};
  TextBox rotator_port{*this, "RotatorPort"};
  Label rotator_speed_caption{*this, "RotatorSpeedCaption", Cp1252("Velocità")};
  ComboBox rotator_speed{*this, "RotatorSpeed"};
  Label antenna_offset_caption{*this, "AntennaOffsetCaption", "Correzione antenna (gradi)"};
  TextBox antenna_offset{*this, "AntennaOffset", "0"};
  CheckBox auto_turn{*this, "AutoTurn", Cp1252("Ruota l'antenna appena il locatore è completo")};

  Frame messages_frame{*this, "CwMessagesFrame", "Messaggi CW"};
  Label message_captions[4] = {{*this, "CwKey1", "F1"},
                               {*this, "CwKey2", "F2"},
                               {*this, "CwKey3", "F3"},
                               {*this, "CwKey4", "F4"}};
  TextBox messages[4] = {
      {*this, "CwMessage1"}, {*this, "CwMessage2"}, {*this, "CwMessage3"}, {*this, "CwMessage4"}};
  Label fields_hint{*this, "CwFieldsHint",
                    "{MIO} proprio nominativo, {CALL} nominativo, {NR} progressivo, "
                    "{LOC} proprio locatore. Esc ferma l'invio."};

  // The voice messages of SSB (RadioWindowVoice.cpp), in a column of their own on the right.
  Frame voice_frame{*this, "VoiceFrame", "Messaggi vocali (SSB)"};
  Label voice_output_caption{*this, "VoiceOutputCaption", "Uscita audio (verso la radio)"};
  ComboBox voice_output{*this, "VoiceOutput"};
  Label voice_input_caption{*this, "VoiceInputCaption", "Ingresso audio (microfono)"};
  ComboBox voice_input{*this, "VoiceInput"};
  Label voice_ptt_caption{*this, "VoicePttCaption", "PTT"};
  ComboBox voice_ptt{*this, "VoicePtt"};
  Label voice_ptt_port_caption{*this, "VoicePttPortCaption", "Porta seriale del PTT"};
  TextBox voice_ptt_port{*this, "VoicePttPort"};
  Label voice_lead_caption{*this, "VoiceLeadCaption", "Anticipo del PTT (ms)"};
  TextBox voice_lead{*this, "VoiceLead", "150"};
  Label voice_repeat_caption{*this, "VoiceRepeatCaption", "Ripeti il CQ (F1) ogni ... s (0: no)"};
  TextBox voice_repeat{*this, "VoiceRepeat", "0"};
  Label voice_hint{*this, "VoiceHint"};
  RadioWindowKeyer keyer{*this};

  Label probe_result{*this, "ProbeResult"};
  CommandButton probe_button{*this, "ProbeButton", "Prova"};
  CommandButton save_button{*this, "SaveButton", "Salva"};
  CommandButton exit_button{*this, "ExitButton", "Esci"};

  // --- RadioWindowHamlib.cpp: where the program starts Hamlib's daemons itself (Windows) ---
  Frame hamlib_frame{*this, "HamlibFrame", "Hamlib"};
  Label hamlib_folder_caption{*this, "HamlibFolderCaption", "Cartella"};
  TextBox hamlib_folder{*this, "HamlibFolder"};
  CommandButton hamlib_search{*this, "HamlibSearch", "Cerca"};
  Label hamlib_status{*this, "HamlibStatus"};
  // Looks for Hamlib in the folder written (and the usual places) and lists its models.
  void OnHamlibSearchPressed();

  // The settings as the window shows them now; nothing when a field cannot be used (the operator
  // is told which).
  std::optional<RadioSettings> Settings();
  void OnProbePressed();
  void OnSavePressed();
  void OnExitPressed() { Unload(); }

 private:
  void Layout();
  void Fill(const RadioSettings& settings);
  void FillModelLists(int rig, int rotator);
  int ChosenModelNumber(bool rotator) const;
  void LayoutHamlib();
  void ShowHamlib();
  void ShowProbe(const ProbeResult& result);
  void LayoutVoice();
  void FillVoice(const VoiceLink& voice);
  // The voice settings as shown, into `settings`; false (the operator told) when one is not
  // usable.
  bool VoiceSettings(RadioSettings& settings);
  // --- RadioWindowKeyer.cpp ---
  void LayoutKeyer();
  void FillKeyer(const RadioSettings& settings);
  // The keyer's fields into `settings`; false (and the operator told) when one cannot be used.
  bool KeyerSettings(RadioSettings& settings);
  void OnKeyerKindChanged();
  void ProbeKeyer(const RadioSettings& settings);

  Program& program_;
  // The model number of each item of the model lists ("nessuno" is 0).
  std::vector<int> rig_models_;
  std::vector<int> rotator_models_;
  // The system's name of each item of the sound card lists.
  std::vector<std::string> voice_outputs_;
  std::vector<std::string> voice_inputs_;
};

}  // namespace keldra
