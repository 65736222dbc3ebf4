// The message box a window shows: a title, a text, an icon and an OK button. Program is built with
// one, so tests replace it with a recorder that keeps every message shown (tests/support/).
#pragma once

#include <string>

namespace keldra {

enum class MessageIcon { kNone, kInformation, kCritical };

inline constexpr const char* kDefaultTitle = "Keldra VHF qrp Test";

// A modal box with a title, a text, an icon and an OK button. Texts are Windows-1252.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace keldra
