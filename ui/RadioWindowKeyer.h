// The CW keyer's part of "Radio e rotore": which keyer ("nessuno", the rig's own over CAT, a
// WinKeyer, cwdaemon where the program has it), its port, the speed, the PTT, and Enter that
// sends. It says when the chosen rig has no CAT keyer, and "Prova" keys "VVV" and says what
// answered.
#pragma once

#include <string>
#include <vector>

#include "radio/Keyer.h"
#include "system/CodePage.h"
#include "widgets/Buttons.h"
#include "widgets/Form.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"

namespace keldra {

struct RadioWindowKeyer {
  explicit RadioWindowKeyer(Form& form) : form_(form) {}

 private:
  Form& form_;  // first: the controls below are built on it

 public:
  Frame frame{form_, "KeyerFrame", "Keyer CW"};
  Label kind_caption{form_, "KeyerKindCaption", "Keyer"};
  ComboBox kind{form_, "KeyerKind"};
  Label port_caption{form_, "KeyerPortCaption", "Porta"};
  TextBox port{form_, "KeyerPort"};
  ComboBox ports{form_, "KeyerPorts"};
  Label wpm_caption{form_, "KeyerWpmCaption", "WPM"};
  TextBox wpm{form_, "KeyerWpm", "24"};
  CheckBox ptt{form_, "KeyerPtt", "PTT dal keyer"};
  CheckBox enter_sends{form_, "EnterSends",
                       "In CW Invio trasmette: F2 sul nominativo nuovo, F3 e registra a riga "
                       "completa"};
  Label note{form_, "KeyerNote"};
  Label probe_result{form_, "KeyerProbeResult"};
  // The kind of each item of `kind`.
  std::vector<KeyerKind> kinds;
};

}  // namespace keldra
