// Keyers for model tests: all four kinds; the WinKeyer and cwdaemon record their commands in one
// log and the test sends their events; the rig's keyer is the real adapter.
#pragma once

#include <string>
#include <vector>

#include "radio/Keyer.h"

namespace keldra {

class FakeKeyers : public KeyerDrivers {
 public:
  struct Fake : Keyer {
    explicit Fake(std::vector<std::string>& log) : log(log) {}
    void Send(const std::string& text) override { log.push_back("send " + text); }
    void Stop() override { log.push_back("stop"); }
    void SetSpeed(int wpm) override { log.push_back("speed " + std::to_string(wpm)); }
    std::vector<std::string>& log;
  };
  std::vector<KeyerKind> Kinds() const override {
    return {KeyerKind::kNone, KeyerKind::kRig, KeyerKind::kWinKeyer, KeyerKind::kCwdaemon};
  }
  std::unique_ptr<Keyer> Make(const KeyerLink& link, Radio& radio) override {
    made.push_back(link);
    std::unique_ptr<Keyer> keyer =
        link.kind > KeyerKind::kRig ? std::make_unique<Fake>(log) : KeyerDrivers::Make(link, radio);
    running = keyer.get();
    return keyer;
  }
  void Probe(const KeyerLink&, Radio&, std::function<void(const KeyerProbe&)> done) override {
    done({true, "WinKeyer 2.3: VVV inviato"});
  }

  std::vector<std::string> log;
  std::vector<KeyerLink> made;
  Keyer* running = nullptr;
};

}  // namespace keldra
