// The voice messages' settings in "Radio e rotore": the sound cards the system has (the rig's USB
// sound card is seldom the default), how the transmitter is keyed, the PTT's lead time and the
// repeated CQ. A card or port the system does not list now stays chosen, by its name.
#include <algorithm>

#include "core/Text.h"
#include "system/Audio.h"
#include "system/CodePage.h"
#include "system/SerialPort.h"
#include "ui/Layout.h"
#include "ui/RadioWindow.h"

namespace keldra {
namespace {

// In the order of the list.
constexpr PttWay kPttWays[] = {PttWay::kCat, PttWay::kRts, PttWay::kDtr, PttWay::kNone};
constexpr const char* kPttNames[] = {"CAT della radio", "RTS della porta seriale",
                                     "DTR della porta seriale", "nessuno (VOX della radio)"};

void FillDevices(ComboBox& list, std::vector<std::string>& ids,
                 const std::vector<AudioDeviceName>& devices, const std::string& chosen) {
  list.Clear();
  ids.clear();
  for (const AudioDeviceName& device : devices) {
    list.AddItem(Utf8ToCp1252(device.label));
    ids.push_back(device.id);
  }
  if (std::find(ids.begin(), ids.end(), chosen) == ids.end()) {
    list.AddItem(Utf8ToCp1252(chosen) + " (non presente ora)");
    ids.push_back(chosen);
  }
  list.SetListIndex(static_cast<int>(std::find(ids.begin(), ids.end(), chosen) - ids.begin()));
}

std::string Chosen(const ComboBox& list, const std::vector<std::string>& ids) {
  const int index = list.ListIndex();
  return index >= 0 && index < static_cast<int>(ids.size()) ? ids[index] : std::string();
}

}  // namespace

void RadioWindow::LayoutVoice() {
  Place(voice_frame, 560, 8, 292, 458);
  const struct {
    Label* caption;
    Control* field;
    int width;
  } rows[] = {
      {&voice_output_caption, &voice_output, 272}, {&voice_input_caption, &voice_input, 272},
      {&voice_ptt_caption, &voice_ptt, 272},       {&voice_ptt_port_caption, &voice_ptt_port, 200},
      {&voice_lead_caption, &voice_lead, 60},      {&voice_repeat_caption, &voice_repeat, 60}};
  int top = 20;
  for (const auto& row : rows) {
    Place(*row.caption, 10, top, 272, 18, &voice_frame);
    Place(*row.field, 10, top + 18, row.width, 26, &voice_frame);
    top += 52;
  }
  Place(voice_hint, 10, top + 4, 272, 120, &voice_frame);
  voice_hint.SetFont({.points = 8});
  voice_hint.SetCaption(
      Cp1252("F1-F4 trasmettono i file messaggi/F1.wav ... F4.wav della cartella del contest. "
             "Ctrl+Maiusc+F1-F4 registra dal microfono (di nuovo o Esc per finire), Maiusc+F1-F4 "
             "riascolta senza PTT, Esc o un nominativo digitato fermano la trasmissione."));
  voice_lead.SetToolTip("Il tempo che la radio impiega a passare in trasmissione");
  std::string ports = "Porte presenti:";
  for (const SerialPortName& port : ListSerialPorts()) {
    ports += " " + port.path;
  }
  voice_ptt_port.SetToolTip(Cp1252(ports));
  for (const char* name : kPttNames) {
    voice_ptt.AddItem(name);
  }
}

void RadioWindow::FillVoice(const VoiceLink& voice) {
  FillDevices(voice_output, voice_outputs_, ListAudioOutputs(), voice.output);
  FillDevices(voice_input, voice_inputs_, ListAudioInputs(), voice.input);
  voice_ptt.SetListIndex(static_cast<int>(
      std::find(std::begin(kPttWays), std::end(kPttWays), voice.ptt) - std::begin(kPttWays)));
  voice_ptt_port.SetText(voice.ptt_port);
  voice_lead.SetText(std::to_string(voice.lead_ms));
  voice_repeat.SetText(std::to_string(voice.repeat_seconds));
}

bool RadioWindow::VoiceSettings(RadioSettings& settings) {
  VoiceLink& voice = settings.voice;
  voice.output = Chosen(voice_output, voice_outputs_);
  voice.input = Chosen(voice_input, voice_inputs_);
  const int way = voice_ptt.ListIndex();
  voice.ptt =
      way >= 0 && way < static_cast<int>(std::size(kPttWays)) ? kPttWays[way] : PttWay::kNone;
  voice.ptt_port = Trim(voice_ptt_port.Text());
  const std::optional<int> lead = WholeNumber(Trim(voice_lead.Text()), 0, kMaxPttLeadMs);
  const std::optional<int> repeat = WholeNumber(Trim(voice_repeat.Text()), 0, kMaxRepeatSeconds);
  if (!lead || !repeat) {
    program_.Message(!lead ? "Anticipo del PTT: un numero intero di millisecondi tra 0 e " +
                                 std::to_string(kMaxPttLeadMs) + "."
                           : "Ripeti il CQ: un numero intero di secondi tra 0 e " +
                                 std::to_string(kMaxRepeatSeconds) + " (0: non ripetere).",
                     MessageIcon::kNone);
    (!lead ? voice_lead : voice_repeat).SetFocus();
    return false;
  }
  if ((voice.ptt == PttWay::kRts || voice.ptt == PttWay::kDtr) && voice.ptt_port.empty()) {
    program_.Message("PTT su RTS o DTR: indicare la porta seriale (es. /dev/ttyUSB0 o COM3).",
                     MessageIcon::kNone);
    voice_ptt_port.SetFocus();
    return false;
  }
  voice.lead_ms = *lead;
  voice.repeat_seconds = *repeat;
  return true;
}

}  // namespace keldra
