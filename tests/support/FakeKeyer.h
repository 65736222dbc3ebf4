// Keyers for model tests: every command recorded in one log, and the test sends the events a
// real keyer would.
#pragma once

#include <string>
#include <vector>

#include "radio/Keyer.h"

namespace keldra {

class FakeKeyer : public Keyer {
 public:
  explicit FakeKeyer(std::vector<std::string>& log) : log_(log) {}
  void Send(const std::string& text) override { log_.push_back("send " + text); }
  void Stop() override { log_.push_back("stop"); }
  void SetSpeed(int wpm) override { log_.push_back("speed " + std::to_string(wpm)); }

 private:
  std::vector<std::string>& log_;
};

// All four kinds; the WinKeyer and cwdaemon are FakeKeyers, the rig's keyer is the real adapter.
class FakeKeyers : public KeyerDrivers {
 public:
  std::vector<KeyerKind> Kinds() const override {
    return {KeyerKind::kNone, KeyerKind::kRig, KeyerKind::kWinKeyer, KeyerKind::kCwdaemon};
  }
  std::unique_ptr<Keyer> Make(const KeyerLink& link, Radio& radio) override {
    made.push_back(link);
    if (link.kind == KeyerKind::kWinKeyer || link.kind == KeyerKind::kCwdaemon) {
      auto keyer = std::make_unique<FakeKeyer>(log);
      running = keyer.get();
      return keyer;
    }
    running = nullptr;
    return KeyerDrivers::Make(link, radio);
  }
  void Probe(const KeyerLink& link, Radio&, std::function<void(const KeyerProbe&)> done) override {
    probed.push_back(link);
    done(probe_answer);
  }

  std::vector<std::string> log;
  std::vector<KeyerLink> made;
  std::vector<KeyerLink> probed;
  Keyer* running = nullptr;
  KeyerProbe probe_answer;
};

}  // namespace keldra
