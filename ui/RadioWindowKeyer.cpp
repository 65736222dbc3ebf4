#include "ui/RadioWindowKeyer.h"

#include <algorithm>

#include "core/Text.h"
#include "system/SerialPort.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"
#include "ui/RadioWindow.h"

namespace keldra {
namespace {

constexpr Color kWarningRed{200, 0, 0};
// The keyer's frame goes under the CW messages; what was below moves down by as much.
constexpr int kKeyerTop = 470;
constexpr int kKeyerHeight = 156;

std::string KindItem(KeyerKind kind) {
  switch (kind) {
    case KeyerKind::kNone:
      return "nessuno";
    case KeyerKind::kRig:
      return "keyer del rig (CAT)";
    case KeyerKind::kWinKeyer:
      return "WinKeyer";
    case KeyerKind::kCwdaemon:
      return "cwdaemon";
  }
  return {};
}

KeyerKind ChosenKind(const RadioWindowKeyer& k) {
  const int index = k.kind.ListIndex();
  return index >= 0 && index < static_cast<int>(k.kinds.size()) ? k.kinds[index] : KeyerKind::kNone;
}

}  // namespace

void RadioWindow::LayoutKeyer() {
  RadioWindowKeyer& k = keyer;
  Resize(Width(), Height() + Px(kKeyerHeight + 4));
  for (Control* below :
       std::initializer_list<Control*>{&probe_result, &probe_button, &save_button, &exit_button}) {
    below->Move(below->Left(), below->Top() + Px(kKeyerHeight + 4), below->Width(),
                below->Height());
  }
  Place(k.frame, 8, kKeyerTop, 544, kKeyerHeight);
  Place(k.kind_caption, 10, 24, 80, 20, &k.frame);
  Place(k.kind, 96, 20, 200, 26, &k.frame);
  Place(k.wpm_caption, 310, 24, 40, 20, &k.frame);
  Place(k.wpm, 352, 20, 48, 26, &k.frame);
  k.wpm.SetToolTip("Velocit" + Cp1252("à") +
                   " in parole al minuto (5-60); PagSu/PagGiu la "
                   "cambiano durante il contest");
  Place(k.ptt, 412, 22, 124, 22, &k.frame);
  Place(k.port_caption, 10, 60, 80, 20, &k.frame);
  Place(k.port, 96, 56, 200, 26, &k.frame);
  Place(k.ports, 310, 56, 222, 26, &k.frame);
  k.ports.SetToolTip("Porte seriali trovate");
  Place(k.enter_sends, 16, 88, 520, 22, &k.frame);
  Place(k.note, 10, 112, 524, 18, &k.frame);
  k.note.SetForeColor(kWarningRed);
  k.note.SetFont({.points = 8});
  Place(k.probe_result, 10, 132, 524, 18, &k.frame);
  k.probe_result.SetFont({.points = 8});

  k.kinds = program_.Keyers().Kinds();
  for (const KeyerKind kind : k.kinds) {
    k.kind.AddItem(KindItem(kind));
  }
  k.kind.Click = [this] { OnKeyerKindChanged(); };
  k.ports.Click = [this] {
    if (keyer.ports.ListIndex() > 0) {
      keyer.port.SetText(keyer.ports.Text());
    }
  };
  // The note on the rig's keyer follows the rig's model.
  rig_model.Click = [this, own = std::move(rig_model.Click)] {
    if (own) {
      own();
    }
    OnKeyerKindChanged();
  };
}

void RadioWindow::FillKeyer(const RadioSettings& settings) {
  RadioWindowKeyer& k = keyer;
  k.ports.Clear();
  k.ports.AddItem("(scegliere)");
  for (const SerialPortName& found : ListSerialPorts()) {
    k.ports.AddItem(Utf8ToCp1252(found.path));
  }
  k.ports.SetListIndex(0);
  auto chosen = std::find(k.kinds.begin(), k.kinds.end(), settings.keyer.kind);
  if (chosen == k.kinds.end()) {
    // A keyer this program does not have (cwdaemon in radio.txt brought from Linux) is kept.
    k.kinds.push_back(settings.keyer.kind);
    k.kind.AddItem(KindItem(settings.keyer.kind) + " (non disponibile)");
    chosen = k.kinds.end() - 1;
  }
  k.port.SetText(settings.keyer.port);
  k.wpm.SetText(std::to_string(settings.keyer.wpm));
  k.ptt.SetValue(settings.keyer.ptt ? 1 : 0);
  k.enter_sends.SetValue(settings.enter_sends ? 1 : 0);
  k.kind.SetListIndex(static_cast<int>(chosen - k.kinds.begin()));
  OnKeyerKindChanged();
}

void RadioWindow::OnKeyerKindChanged() {
  RadioWindowKeyer& k = keyer;
  const KeyerKind kind = ChosenKind(k);
  const bool device = kind == KeyerKind::kWinKeyer || kind == KeyerKind::kCwdaemon;
  k.port_caption.SetVisible(device);
  k.port.SetVisible(device);
  k.ports.SetVisible(kind == KeyerKind::kWinKeyer);
  k.ptt.SetVisible(device);
  k.port.SetToolTip(kind == KeyerKind::kWinKeyer ? "es. /dev/ttyUSB0 o COM3"
                                                 : "host:porta di cwdaemon, vuoto: localhost:6789");
  const int index = rig_model.ListIndex();
  const int rig =
      index > 0 && index < static_cast<int>(rig_models_.size()) ? rig_models_[index] : 0;
  std::string note;
  if (kind == KeyerKind::kRig && rig == 0) {
    note = "Nessuna radio scelta: il keyer del rig non trasmette.";
  } else if (kind == KeyerKind::kRig && !program_.Devices().HasCatKeyer(rig)) {
    note = "La radio scelta non ha un keyer CAT: scegliere ";
    note += std::find(k.kinds.begin(), k.kinds.end(), KeyerKind::kCwdaemon) != k.kinds.end()
                ? "WinKeyer o cwdaemon."
                : "WinKeyer.";
  }
  k.note.SetCaption(note);
}

bool RadioWindow::KeyerSettings(RadioSettings& settings) {
  RadioWindowKeyer& k = keyer;
  const std::optional<int> wpm = WholeNumber(Trim(k.wpm.Text()), kMinWpm, kMaxWpm);
  if (!wpm) {
    program_.Message(Cp1252("Velocità CW: un numero intero di WPM tra 5 e 60."),
                     MessageIcon::kNone);
    k.wpm.SetFocus();
    return false;
  }
  settings.keyer = {ChosenKind(k), Trim(k.port.Text()), *wpm, k.ptt.Value() != 0};
  settings.enter_sends = k.enter_sends.Value() != 0;
  if (settings.keyer.kind == KeyerKind::kWinKeyer && settings.keyer.port.empty()) {
    program_.Message("WinKeyer: scegliere la porta seriale.", MessageIcon::kNone);
    k.port.SetFocus();
    return false;
  }
  return true;
}

void RadioWindow::ProbeKeyer(const RadioSettings& settings) {
  RadioWindowKeyer& k = keyer;
  if (settings.keyer.kind == KeyerKind::kNone) {
    k.probe_result.SetCaption("Keyer: nessuno.");
    return;
  }
  if (settings.keyer.kind == KeyerKind::kRig &&
      !program_.Devices().HasCatKeyer(settings.rig.model)) {
    k.probe_result.SetCaption("Keyer: la radio scelta non ha un keyer CAT.");
    return;
  }
  k.probe_result.SetCaption("Keyer: prova in corso...");
  // The running WinKeyer lets go of its port while the probe opens it.
  MainWindow& main = program_.Get<MainWindow>();
  main.StopKeyer();
  program_.Keyers().Probe(
      settings.keyer, program_.Devices(), [this, &main](const KeyerProbe& probe) {
        if (main.Loaded()) {
          main.StartKeyer();
        }
        if (Loaded()) {
          keyer.probe_result.SetCaption("Keyer: " + Cp1252(probe.text) + ".");
          keyer.probe_result.SetForeColor(probe.answered ? Color{0, 128, 0} : kWarningRed);
        }
      });
}

}  // namespace keldra
