// The rig's own keyer over CAT: the messages go to the rig through the Radio's link (Hamlib's
// send_morse), which already runs on the rig's thread and says whether each got there.
#pragma once

#include "radio/Keyer.h"

namespace keldra {

class RigKeyer : public Keyer {
 public:
  explicit RigKeyer(Radio& radio, int wpm) : radio_(radio) { radio_.SetMorseSpeed(wpm); }

  void Send(const std::string& text) override { radio_.SendMorse(text); }
  void Stop() override { radio_.StopMorse(); }
  void SetSpeed(int wpm) override { radio_.SetMorseSpeed(wpm); }

 private:
  Radio& radio_;
};

}  // namespace keldra
