// The CW keyer that sends the F-key messages: the rig's own keyer over CAT, a WinKeyer on a serial
// port, or cwdaemon over UDP. The windows see only this interface. Commands return at once; the
// keyers that own a device talk to it on a thread of their own and hand every change back as an
// event on the user-interface thread, so a keyer that hangs never holds up a keystroke.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "radio/DeviceThread.h"
#include "radio/Radio.h"

namespace keldra {

// The numbers are radio.txt's.
enum class KeyerKind { kNone = 0, kRig = 1, kWinKeyer = 2, kCwdaemon = 3 };

inline constexpr int kMinWpm = 5;
inline constexpr int kMaxWpm = 60;

struct KeyerLink {
  KeyerKind kind = KeyerKind::kRig;
  // The WinKeyer's serial port, or cwdaemon's host:port (empty: localhost:6789).
  std::string port;
  int wpm = 24;
  // Key the transmitter's PTT around each message (where the keyer can).
  bool ptt = false;
  bool operator==(const KeyerLink&) const = default;
};

struct KeyerState {
  LinkState link = LinkState::kNone;
  // A message is being keyed now.
  bool busy = false;
  int wpm = 0;
  // Why the keyer cannot key (Italian, UTF-8), empty when it can.
  std::string problem;
  // What answered, when the keyer tells ("WinKeyer versione 23").
  std::string answered;
  bool operator==(const KeyerState&) const = default;
};

// What "Prova" found: what answered, or why nothing did (Italian, UTF-8).
struct KeyerProbe {
  bool answered = false;
  std::string text;
};

class Keyer {
 public:
  Keyer() = default;
  virtual ~Keyer() = default;
  Keyer(const Keyer&) = delete;
  Keyer& operator=(const Keyer&) = delete;

  virtual void Send(const std::string& text) = 0;
  // Stops keying at once and drops what is still queued.
  virtual void Stop() = 0;
  // Takes effect at once, also in the middle of a message.
  virtual void SetSpeed(int wpm) = 0;

  // Events on the user-interface thread: the keyer's state when it changes, and each message
  // handed to the keyer (or not: it could not be).
  std::function<void(const KeyerState&)> Changed;
  std::function<void(const std::string& text, bool sent)> Sent;

 protected:
  // Runs `event` on the user-interface thread later, unless this keyer is gone by then. Called
  // from the keyer's own thread, which ends before the keyer is taken apart.
  void PostEvent(const PostToUi& post, std::function<void(Keyer&)> event) {
    post([alive = std::weak_ptr<Keyer*>(alive_), event = std::move(event)] {
      if (const std::shared_ptr<Keyer*> keyer = alive.lock()) {
        event(**keyer);
      }
    });
  }
  void PostState(const PostToUi& post, const KeyerState& state) {
    PostEvent(post, [state](Keyer& keyer) {
      if (keyer.Changed) {
        keyer.Changed(state);
      }
    });
  }
  void PostSent(const PostToUi& post, const std::string& text, bool sent) {
    PostEvent(post, [text, sent](Keyer& keyer) {
      if (keyer.Sent) {
        keyer.Sent(text, sent);
      }
    });
  }

 private:
  std::shared_ptr<Keyer*> alive_ = std::make_shared<Keyer*>(this);
};

// The ways of keying this program has: the rig's keyer always; the WinKeyer and cwdaemon when
// built with a way to reach the user-interface thread (the real program, not the model tests).
class KeyerDrivers {
 public:
  KeyerDrivers() = default;
  // `cwdaemon`: offered (it runs on Linux).
  KeyerDrivers(PostToUi post, bool cwdaemon);
  virtual ~KeyerDrivers();
  KeyerDrivers(const KeyerDrivers&) = delete;
  KeyerDrivers& operator=(const KeyerDrivers&) = delete;

  virtual std::vector<KeyerKind> Kinds() const;
  // Null for "nessuno" and for a kind this program does not have.
  virtual std::unique_ptr<Keyer> Make(const KeyerLink& link, Radio& radio);
  // Opens the keyer once apart from the running one, sends "VVV" at the link's speed and says
  // what answered, on the user-interface thread.
  virtual void Probe(const KeyerLink& link, Radio& radio,
                     std::function<void(const KeyerProbe&)> done);

 private:
  PostToUi post_;
  bool cwdaemon_ = false;
  std::mutex probes_mutex_;
  std::vector<std::thread> probes_;
};

// Brings a typed speed into the keyers' range.
inline int ClampWpm(int wpm) { return wpm < kMinWpm ? kMinWpm : wpm > kMaxWpm ? kMaxWpm : wpm; }

}  // namespace keldra
