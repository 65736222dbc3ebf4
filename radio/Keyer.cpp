#include "radio/Keyer.h"

#include "radio/drivers/Cwdaemon.h"
#include "radio/drivers/RigKeyer.h"
#include "radio/drivers/WinKeyer.h"

namespace keldra {

KeyerDrivers::KeyerDrivers(PostToUi post, bool cwdaemon)
    : post_(std::move(post)), cwdaemon_(cwdaemon) {}

KeyerDrivers::~KeyerDrivers() {
  const std::lock_guard lock(probes_mutex_);
  for (std::thread& probe : probes_) {
    probe.join();
  }
}

std::vector<KeyerKind> KeyerDrivers::Kinds() const {
  std::vector<KeyerKind> kinds = {KeyerKind::kNone, KeyerKind::kRig};
  if (post_) {
    kinds.push_back(KeyerKind::kWinKeyer);
    if (cwdaemon_) {
      kinds.push_back(KeyerKind::kCwdaemon);
    }
  }
  return kinds;
}

std::unique_ptr<Keyer> KeyerDrivers::Make(const KeyerLink& link, Radio& radio) {
  switch (link.kind) {
    case KeyerKind::kNone:
      return nullptr;
    case KeyerKind::kRig:
      return std::make_unique<RigKeyer>(radio, link.wpm);
    case KeyerKind::kWinKeyer:
      return post_ ? std::make_unique<WinKeyer>(link, post_) : nullptr;
    case KeyerKind::kCwdaemon:
      return post_ && cwdaemon_ ? std::make_unique<Cwdaemon>(link, post_) : nullptr;
  }
  return nullptr;
}

void KeyerDrivers::Probe(const KeyerLink& link, Radio& radio,
                         std::function<void(const KeyerProbe&)> done) {
  if (link.kind == KeyerKind::kRig) {
    radio.SetMorseSpeed(link.wpm);
    radio.SendMorse("VVV");
    done({true, "VVV inviato al keyer della radio"});
    return;
  }
  if (!post_ || link.kind == KeyerKind::kNone ||
      (link.kind == KeyerKind::kCwdaemon && !cwdaemon_)) {
    done({false, "nessun keyer"});
    return;
  }
  const std::lock_guard lock(probes_mutex_);
  probes_.emplace_back([this, link, done = std::move(done)] {
    KeyerProbe probe =
        link.kind == KeyerKind::kWinKeyer ? ProbeWinKeyer(link) : ProbeCwdaemon(link);
    post_([done, probe = std::move(probe)] { done(probe); });
  });
}

}  // namespace keldra
