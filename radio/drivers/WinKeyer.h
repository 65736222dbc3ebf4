// K1EL's WinKeyer (WK2, WK3, and the interfaces that build one in) on a serial port: 1200 baud,
// 8N2, DTR on (it powers the chip's interface). The host opens the keyer (00 02) and waits for
// its version byte before anything else, sets the speed (02 nn), sends the text paced by the
// keyer's status bytes (no more while it says its buffer is two thirds full), clears the buffer
// (0A) for Esc and closes the keyer (00 03) when the program ends or the keyer is changed. The
// device thread owns the port; a keyer unplugged or never answering is said once and tried again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "radio/Keyer.h"

namespace keldra {

// The bytes of the protocol, and what the keyer's own bytes mean.
namespace winkeyer {

inline constexpr int kBaud = 1200;
// The speed pot's range, set at opening: its bytes count from kPotMinimum.
inline constexpr int kPotMinimum = 10;
inline constexpr int kPotRange = 40;

std::string HostOpen();
std::string HostClose();
std::string Speed(int wpm);
// Clears the keyer's buffer and stops keying at once.
std::string Clear();
std::string Ptt(bool on);
std::string PotRange();
// The text as the keyer takes it: upper case, the characters it knows; the rest left out.
std::string Text(std::string_view text);

struct Status {
  bool xoff = false;  // the buffer is two thirds full: send nothing until this clears
  bool break_in = false;
  bool busy = false;
  bool key_down = false;
  bool waiting = false;
  bool operator==(const Status&) const = default;
};

// One byte from the keyer: a status byte (11xx xxxx), a speed-pot byte (10xx xxxx, wpm counted
// from the pot's minimum), or an echo of a character keyed.
struct Incoming {
  enum class Kind { kStatus, kPot, kEcho } kind = Kind::kEcho;
  Status status;
  int pot_wpm = 0;
  char echo = 0;
};
Incoming Parse(std::uint8_t byte);

}  // namespace winkeyer

class WinKeyer : public Keyer {
 public:
  WinKeyer(const KeyerLink& link, PostToUi post);
  ~WinKeyer() override;

  void Send(const std::string& text) override;
  void Stop() override;
  void SetSpeed(int wpm) override;

  class Link;

 private:
  std::unique_ptr<Link> link_;
};

// "Prova": opens the keyer, sends "VVV" at the link's speed, closes it; blocks for a few seconds.
KeyerProbe ProbeWinKeyer(const KeyerLink& link);

}  // namespace keldra
