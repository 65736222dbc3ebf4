// A WinKeyer of the tests' own at the far end of a pseudo-terminal, written from K1EL's protocol:
// it answers the host open with its version byte (unless mute), keys its buffer a character
// every `char_time`, sends its status (busy; XOFF from `xoff_at` characters) when it changes and
// clears on 0A. It records every byte with its arrival, and each text byte that came while XOFF
// had been up longer than a line's delay. `Path()` is a symlink: the keyer can be unplugged.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace keldra::testing {

class FakeWinKeyer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit FakeWinKeyer(std::filesystem::path path) : path_(std::move(path)) { PlugIn(); }
  ~FakeWinKeyer() { Unplug(); }

  const std::filesystem::path& Path() const { return path_; }
  std::atomic<bool> mute = false;
  std::atomic<std::size_t> xoff_at = 1000;
  std::atomic<int> char_ms = 20;
  std::atomic<int> xoffs = 0;
  std::atomic<int> past_xoff = 0;

  void PlugIn() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    const int slave = open(ptsname(master_), O_RDWR | O_NOCTTY);
    termios raw{};  // raw from the start: the host's bytes must not echo back
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    close(slave);
    std::filesystem::remove(path_);
    std::filesystem::create_symlink(ptsname(master_), path_);
    running_ = true;
    thread_ = std::thread([this] { Run(); });
  }
  void Unplug() {
    if (running_.exchange(false)) {
      thread_.join();
      close(master_);
      std::filesystem::remove(path_);
    }
  }
  void Emit(std::uint8_t byte) { (void)write(master_, &byte, 1); }  // the speed pot turned
  std::string Received() { return Locked(received_); }
  std::string Keyed() { return Locked(keyed_); }
  Clock::time_point ArrivalOf(std::size_t index) {
    std::lock_guard lock(mutex_);
    return arrivals_.at(index);
  }

 private:
  std::string Locked(const std::string& text) {
    std::lock_guard lock(mutex_);
    return text;
  }
  void Run() {
    Clock::time_point next_key = Clock::now();
    while (running_) {
      pollfd ready{master_, POLLIN, 0};
      char in[256];
      const ssize_t got = poll(&ready, 1, 2) > 0 ? read(master_, in, sizeof in) : 0;
      std::lock_guard lock(mutex_);
      for (ssize_t i = 0; i < got; ++i) {
        Take(static_cast<std::uint8_t>(in[i]));
      }
      if (!buffer_.empty() && Clock::now() >= next_key) {
        keyed_ += buffer_.front();
        buffer_.erase(0, 1);
        next_key = Clock::now() + std::chrono::milliseconds(char_ms);
        Status();
      }
    }
  }
  void Take(std::uint8_t byte) {
    received_ += static_cast<char>(byte);
    arrivals_.push_back(Clock::now());
    if (arguments_ > 0) {
      --arguments_;
      if (std::exchange(admin_, false) && byte == 0x02 && !mute) {
        Emit(23);  // WK2.3
      }
    } else if (byte == 0x00 || byte == 0x02 || byte == 0x18 || byte == 0x05) {
      admin_ = byte == 0x00;
      arguments_ = byte == 0x05 ? 3 : 1;
    } else if (byte == 0x0A) {
      buffer_.clear();
      Status();
    } else if (byte >= 0x20 && byte < 0x80) {
      past_xoff += xoff_ && Clock::now() - xoff_since_ > std::chrono::milliseconds(40);
      buffer_ += static_cast<char>(byte);
      Status();
    }
  }
  void Status() {
    const bool xoff = buffer_.size() >= xoff_at;
    if (xoff && !xoff_) {
      ++xoffs;
      xoff_since_ = Clock::now();
    }
    xoff_ = xoff;
    const std::uint8_t status = 0xC0 | (xoff ? 0x01 : 0) | (buffer_.empty() ? 0 : 0x04);
    if (status != std::exchange(status_, status)) {
      Emit(status);
    }
  }

  std::filesystem::path path_;
  int master_ = -1;
  std::atomic<bool> running_ = false;
  std::thread thread_;
  std::mutex mutex_;
  std::string received_;
  std::vector<Clock::time_point> arrivals_;
  std::string buffer_;
  std::string keyed_;
  int arguments_ = 0;
  bool admin_ = false;
  bool xoff_ = false;
  Clock::time_point xoff_since_;
  std::uint8_t status_ = 0xC0;
};

}  // namespace keldra::testing
