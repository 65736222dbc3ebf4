// The main logging window: the entry row of the QSO being logged, and the running contest as
// Program's ContestLog holds it (the QSO list, the totals, the serial to send next), with the
// station data and the pointing display. "OK" logs the QSO in the log; the window follows every
// change of the log, whichever window made it. Every other window is opened from here.
//
// The handlers are spread over several files by concern: MainWindow.cpp (controls, layout,
// wiring), MainWindowLifecycle.cpp (start-up, activation, mode, ending), MainWindowOpenWindows.cpp
// (buttons that open other windows), MainWindowOk.cpp ("OK"), MainWindowEntryRow.cpp (the entry
// row's field behaviour), MainWindowTotals.cpp (the QSO list, the next serial and the totals as the
// log changes), MainWindowIndicators.cpp (resume, pointing display, award, list scrolling),
// MainWindowHistory.cpp (the call history) and MainWindowRadio.cpp (the rig, the rotator and the CW
// messages).
#pragma once

#include <memory>

#include "core/ContestState.h"
#include "data/ChatSettings.h"
#include "data/HistoryFiles.h"
#include "data/RadioSettings.h"
#include "ui/Calculator.h"
#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

namespace keldra {

class MainWindow : public Form {
 public:
  explicit MainWindow(Program& program);

  // The entry row, declared first: its order is the window's tab order.
  TextBox qso_number{*this, "Text1", "001"};
  TextBox date{*this, "Text2"};
  TextBox time{*this, "Text3"};
  TextBox band{*this, "Text4", "144"};
  TextBox mode{*this, "Text5", "SSB"};
  TextBox call{*this, "Text6"};
  TextBox rst_sent{*this, "Text7", "59"};
  TextBox rst_received{*this, "Text8", "59"};
  TextBox serial_received{*this, "Text9"};
  TextBox locator{*this, "Text10"};
  TextBox club_code{*this, "Text11"};
  CommandButton ok_button{*this, "Command1", "OK"};

  // Headings over the entry fields.
  Label qso_number_heading{*this, "Label1", "QSO #"};
  Label date_heading{*this, "Label2", "Data"};
  Label time_heading{*this, "Label3", "UTC"};
  Label band_heading{*this, "Label4", "Mhz"};
  Label mode_heading{*this, "Label5", "Modo"};
  Label call_heading{*this, "Label6", "Callsign"};
  Label rst_sent_heading{*this, "Label7", "RST-tx"};
  Label rst_received_heading{*this, "Label8", "RST-rx"};
  Label serial_received_heading{*this, "Label9", "Prog"};
  Label locator_heading{*this, "Label10", "Locatore"};
  Label club_code_heading{*this, "Label11", "I-QRP MQC"};

  // Distance and bearing of the QSO being entered, and the duplicate warning.
  Label distance_caption{*this, "Label12", "QRB:"};
  Label distance{*this, "Label13"};
  Label distance_unit{*this, "Label16", "Km"};
  Label bearing_caption{*this, "Label14", "QTF:"};
  Label bearing{*this, "Label15"};
  Label bearing_unit{*this, "Label17", Cp1252("°")};
  Label duplicate_warning{*this, "Label55", "DUPLICATO!"};

  // The QSO list, as the log makes it.
  TextBox qso_list{*this, "Text12"};

  CommandButton create_log_button{*this, "Command2", "Crea LOG"};
  CommandButton edit_qso_button{*this, "Command5", "Modifica QSO"};
  CommandButton statistics_button{*this, "Command6", "STAT"};
  CommandButton logging_mode_button{*this, "Command7"};
  CommandButton pc_date_time_button{*this, "Command9"};
  CommandButton administration_button{*this, "Command11", "Amministrazione"};
  CommandButton exit_button{*this, "Command3", "Esci"};
  CommandButton resume_button{*this, "Command4", "apri_parz"};
  CommandButton show_last_qso_button{*this, "Command8", "Command8"};
  CommandButton map_button{*this, "MapButton", "Mappa"};

  // Contest totals.
  Frame totals_frame{*this, "Frame1", "Contest"};
  Label total_qsos_caption{*this, "Label18", "QSO:"};
  Label total_qsos{*this, "Label19", "0"};
  Label total_km_caption{*this, "Label20", "QRB:"};
  Label total_km{*this, "Label21", "0"};
  Label total_multipliers_caption{*this, "Label22", "Moltiplicatori:"};
  Label total_multipliers{*this, "Label23", "0"};
  Label total_points_caption{*this, "Label24", "Punti:"};
  Label total_points{*this, "Label25", "0"};
  Label average_km_caption{*this, "Label43", "Media:"};
  Label average_km{*this, "Label44", "0"};
  Label odx_caption{*this, "Label26", "ODX:"};
  Label odx_call{*this, "Label27", "..."};
  Label odx_locator{*this, "Label28", "..."};
  Label odx_km{*this, "Label29", "0"};
  Label odx_km_unit{*this, "Label30", "Km"};
  Label iqrp_qsos_caption{*this, "Label49", "I-QRP:"};
  Label iqrp_qsos{*this, "Label51", "0"};
  Label mqc_qsos_caption{*this, "Label50", "MQC:"};
  Label mqc_qsos{*this, "Label52", "0"};

  // Own station.
  Frame station_frame{*this, "Frame2", "Stazione"};
  Label station_call_caption{*this, "Label35", "Call:"};
  Label station_call{*this, "Label39", "..."};
  Label station_locator_caption{*this, "Label36", "Locatore:"};
  Label station_locator{*this, "Label40", "..."};
  Label station_iqrp_caption{*this, "Label37", "I-QRP:"};
  Label station_iqrp_number{*this, "Label41", "..."};
  Label station_mqc_caption{*this, "Label38", "MQC:"};
  Label station_mqc_number{*this, "Label42", "..."};
  Label logging_mode_caption{*this, "Label45", Cp1252("Modalità:")};
  Label logging_mode{*this, "Label46", "on-line"};
  Label account_caption{*this, "Label48", "Account:"};
  Label account{*this, "Label47", "User"};
  Label award_caption{*this, "Label53", "Award:"};
  Label award_name{*this, "Label54", "I-QRP Club Award"};
  PictureBox award_picture{*this, "Picture3"};

  // Pointing display.
  Frame pointing_frame{*this, "Frame3", "Puntamento"};
  PictureBox compass{*this, "Picture1"};
  Line bearing_needle{*this, "Line1"};
  PictureBox bearing_box{*this, "Picture4"};
  Label bearing_readout{*this, "Label56"};
  PictureBox distance_bar_box{*this, "Picture2"};
  Line distance_bar{*this, "Line2"};

  // Contest information.
  Image logo{*this, "Image1", Artwork::kLogo};
  Label contest_title{*this, "Label32", Cp1252("27° KELDRA VHF QRP TEST")};
  Label contest_date{*this, "Label33", "DATA: 16/07/2023"};
  Label contest_hours{*this, "Label34", "ORARIO: dalle 07.00 alle 13.00 utc"};
  Label log_address{*this, "Label31", "Invio Log: log@keldraqrptest.it"};

  // Call history, beside the described controls: the line under the entry row, the known calls
  // beside the QSO list and what was read.
  Label history_line{*this, "HistoryLine"};
  Label known_calls_heading{*this, "KnownCallsHeading", "Nominativi noti"};
  Label known_calls{*this, "KnownCalls"};
  Label history_status{*this, "HistoryStatus"};

  // Rig and rotator, in the pointing frame: the rig's frequency and link, the antenna's real
  // heading (a second needle), the buttons that turn and stop it and the one for the settings.
  Label rig_frequency{*this, "RigFrequency"};
  Label rig_state{*this, "RigState"};
  Line antenna_needle{*this, "AntennaNeedle"};
  Label antenna_heading{*this, "AntennaHeading"};
  CommandButton turn_button{*this, "TurnAntenna", "Ruota"};
  CommandButton stop_button{*this, "StopAntenna", "Stop"};
  CommandButton radio_button{*this, "RadioSettings", "Radio..."};

  // The ON4KST chat.
  CommandButton chat_button{*this, "ChatButton", "Chat ON4KST"};
  // Voice messages: what is played or recorded, and the microphone's level while recording.
  Label voice_status{*this, "VoiceStatus"};

  // --- MainWindowLifecycle.cpp ---
  void OnWindowLoaded();
  void OnWindowActivated();
  void OnWindowUnloaded();
  void OnCreateLogPressed();
  void OnExitPressed();
  void OnLoggingModePressed();
  void OnPcDateTimePressed();
  void OnStationCallChanged();
  // Off-line, times are typed rather than taken from the clock; turning it on opens the date and
  // time for typing at once, whichever window turned it on.
  void SetOffLine(bool off_line);

  // --- MainWindowOpenWindows.cpp: the buttons that open other windows ---
  void OnEditQsoPressed();
  void OnStatisticsPressed();
  void OnAdministrationPressed();
  void OnAwardPictureClicked();
  void OnMapPressed();
  // An open map window follows the records, the locator being typed and the station's locator.
  void FollowOnMap();

  // --- MainWindowOk.cpp ---
  void OnOkPressed();

  // --- MainWindowEntryRow.cpp ---
  void OnQsoNumberChanged();
  void OnDateLeft();
  void OnTimeChanged();
  void OnTimeLeft();
  void OnModeKeyDown(int key_code, bool& handled);
  void OnCallChanged();
  void OnSerialReceivedEntered();
  void OnSerialReceivedLeft();
  void OnLocatorChanged();
  void OnLocatorEntered();
  void OnClubCodeChanged();
  void ShowPath(const CalculatedPath& path);
  // Enter or Space in a field of the row moves to the next one (the key is consumed).
  void OnEntryRowKeyDown(TextBox& field, int key_code, bool& handled);
  // Entering a field of the row trims the field before it and puts the caret at the end.
  void OnEntryRowEntered(TextBox& field);

  // --- MainWindowIndicators.cpp ---
  void OnResumePressed();
  void OnShowLastQsoPressed();
  void OnDistanceChanged();
  void OnBearingChanged();
  void OnIqrpQsosChanged();

  // --- MainWindowHistory.cpp ---
  // Reads the history files in the background; the window works without them meanwhile.
  void StartHistoryLoad();
  void OnHistoryLoaded(HistoryLoad load);
  void OnLocatorKeyDown(int key_code, bool& handled);
  // The history with the running contest's QSOs as they stand now.
  const StationHistory& History();
  std::vector<KnownLocator> KnownLocators();
  void ShowKnownCalls();
  void ShowHistoryLine();
  // An empty locator field of a known call gets the newest known locator, all selected.
  void FillKnownLocator();

  // --- MainWindowRadio.cpp ---
  // Reads radio.txt and links the devices it names.
  void StartRadio();
  // New settings from the settings window: kept, and the devices linked afresh.
  void ApplyRadioSettings(const RadioSettings& settings);
  void UseHamlibDaemons();
  void OnRigChanged(const RigReading& reading);
  void OnRotatorChanged(const RotatorReading& reading);
  void OnMorseSent(const std::string& text, bool sent);
  // "Ruota" (short path) and Ctrl+L (long path): the antenna to the QTF shown.
  void TurnAntenna(bool long_path);
  void OnStopAntennaPressed();
  void OnRadioSettingsPressed();
  // F1-F4, Esc, Ctrl+R, Ctrl+L and Ctrl+S anywhere in the entry row; true when the key was used.
  bool OnRadioKey(int key_code, KeyModifiers modifiers);
  const RadioSettings& RadioSetup() const { return radio_settings_; }

  // --- MainWindowChat.cpp: the chat's way into the row and to the rotator; QSO announcements ---
  void OnChatPressed();
  // A call and locator from the chat, typed into an empty row (call, serial and locator empty)
  // as the operator would type them; false when the row is in use and nothing was typed.
  bool TakeFromChat(const std::string& chat_call, const std::string& chat_locator);
  // The antenna to a bearing (the short path); false when no rotator is linked.
  bool TurnAntennaTo(double bearing);
  // Every QSO logged or corrected from now on goes out as a contactinfo datagram, as set.
  void ApplyAnnouncements(const ChatSettings& settings);
  // Reads chat.txt for the announcements and follows the log; stopped when the window closes.
  void StartAnnouncements();
  void StopAnnouncements();
  // --- MainWindowVoice.cpp ---
  // F1-F4 in SSB, Shift+F1-F4 (listen), Ctrl+Shift+F1-F4 (record), Esc, typing in the callsign
  // field; true when the key was used.
  bool OnVoiceKey(TextBox& field, int key_code, KeyModifiers modifiers);
  void PlayVoiceMessage(int message, bool on_air);
  void RecordVoiceMessage(int message);
  std::filesystem::path VoiceMessagePath(int message) const;
  // --- MainWindowKeyer.cpp ---
  // The keyer's speed and link, under the rig's state.
  Label keyer_speed{*this, "KeyerSpeed"};
  // Opens the keyer the settings name (closing the one before).
  void StartKeyer();
  // Closes the keyer (a WinKeyer leaves host mode): at the end, or while "Prova" opens its port.
  void StopKeyer();
  // A speed changed with PgUp/PgDn is the next start's too: written into radio.txt once, at the
  // end, not on every key.
  void KeepKeyerSpeed();
  void OnKeyerChanged(const KeyerState& state);
  void OnKeyerSent(const std::string& text, bool sent);
  // F1-F4, Esc, PgUp/PgDn and Enter that sends, in CW; true when the key was used.
  bool OnCwKey(TextBox& field, int key_code, KeyModifiers modifiers);
  bool OnCwEnter(TextBox& field);
  const KeyerState& KeyerNow() const { return keyer_state_; }

  // The contest runs off-line: times are typed, not taken from the clock.
  bool IsOffLine() const { return off_line_; }
  const ContestLog& Log() const { return program_.Contest(); }

  // --- MainWindowTotals.cpp: the totals frame as one value ---
  void ShowTotals(const ContestTotals& totals);
  // The log changed: the QSO list, the serial and the totals follow it.
  void OnLogChanged(const LogEvent& event);

  void CloseRequested() override { OnExitPressed(); }

  // True while the contest on screen is newer than parziale.db because its last save failed; the
  // next "OK" then saves again even when it logs nothing, and "Esci" tries once more.
  bool save_pending = false;
  // "Esci" found the contest unsaved and could not save it: a second "Esci" ends all the same.
  bool exit_warned = false;

 protected:
  void OnLoad() override { OnWindowLoaded(); }
  void OnActivate() override { OnWindowActivated(); }
  void OnUnload() override { OnWindowUnloaded(); }

 private:
  void Layout();
  void LayoutEntryArea();
  void LayoutPointingFrame();
  void LayoutTotalsFrame();
  void LayoutStationFrame();
  void Wire();
  // Puts `keys` before the own keys of every field of the entry row, and of the QSO list with
  // `with_list`; a field's own keys run when `keys` did not use the key.
  void KeysBeforeFields(
      bool with_list, const std::function<bool(TextBox& field, int key_code, KeyModifiers)>& keys);
  void LayoutHistory();
  void LayoutRadio();
  void WireRadio();
  void LayoutChat();
  void AnnounceChange(const LogEvent& event);
  bool RigKeys() const;
  void LayoutVoice();
  void WireVoice();
  void StartVoice();
  void EndVoice();
  void OnVoiceStarted();
  void OnVoiceLevel(int percent);
  void OnVoiceFinished(const VoiceOutcome& outcome);
  void SaveVoiceRecording(const VoiceOutcome& outcome);
  void LayoutKeyer();
  void WireKeyer();
  bool KeyerSet() const;
  bool CwKeying() const;
  void ShowKeyer();
  std::optional<std::string> WhyNothingKeys() const;
  void SendCwMessage(std::size_t index);
  void ChangeKeyerSpeed(int step);

  Program& program_;
  bool off_line_ = false;
  int log_observer_ = 0;
  // A QSO was corrected since the history last read the log.
  bool contest_history_stale_ = true;
  std::size_t contest_history_entries_ = 0;  // the log's entries the contest's history holds
  RadioSettings radio_settings_;
  RigReading rig_reading_;
  RotatorReading rotator_reading_;
  // Where the QSO announcements go; none while they are off.
  std::shared_ptr<class DatagramSocket> announcer_;
  int announce_observer_ = -1;
  // The voice message under way: its key (0 for F1), and whether it is recorded or keyed.
  int voice_message_ = 0;
  bool voice_recording_ = false;
  bool voice_on_air_ = false;
  int voice_level_events_ = 0;
  std::unique_ptr<Keyer> keyer_;
  KeyerState keyer_state_;
  bool keyer_problem_said_ = false;
  // The keyer's speed radio.txt holds, when the file was read whole or saved here.
  std::optional<int> kept_wpm_;
};

}  // namespace keldra
