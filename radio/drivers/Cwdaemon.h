// cwdaemon, the Linux keying daemon, over UDP (port 6789 unless set): a datagram of text is a
// message to key, and escape requests set the speed (ESC 2nn), abort the message (ESC 4), key the
// PTT (ESC a1/a0) and ask for a reply when a message has been keyed (ESC h), which is how this
// program knows that the daemon is there and when it is busy. The device thread owns the socket;
// a daemon that is not running is said once and looked for again.
#pragma once

#include <string>
#include <string_view>

#include "radio/Keyer.h"

namespace keldra {

namespace cwdaemon {

inline constexpr int kPort = 6789;

std::string Speed(int wpm);
std::string Abort();
std::string Ptt(bool on);
// The daemon answers "h" + tag once it has keyed the next message.
std::string ReplyAfterNext(std::string_view tag);

}  // namespace cwdaemon

class Cwdaemon : public Keyer {
 public:
  Cwdaemon(const KeyerLink& link, PostToUi post);
  ~Cwdaemon() override;

  void Send(const std::string& text) override;
  void Stop() override;
  void SetSpeed(int wpm) override;

  class Link;

 private:
  std::unique_ptr<Link> link_;
};

// "Prova": sends "VVV" at the link's speed and waits for the daemon to say it has keyed it.
KeyerProbe ProbeCwdaemon(const KeyerLink& link);

}  // namespace keldra
