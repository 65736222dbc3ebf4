// A WinKeyer of the tests' own at the far end of a pseudo-terminal, written from K1EL's
// protocol: it answers the host open with its version byte, keys the text it is sent at a
// character every `char_time`, reports busy and idle, raises XOFF while its buffer holds
// `xoff_at` characters or more, and clears its buffer on 0A. It records every byte it receives,
// and each text byte that came while XOFF had been up for longer than a line's delay.
// The keyer's port is a symlink (`Path()`), so the keyer can be unplugged and plugged back in.
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
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace keldra::testing {

class FakeWinKeyer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit FakeWinKeyer(std::filesystem::path path, std::uint8_t version = 23)
      : path_(std::move(path)), version_(version) {
    PlugIn();
  }
  ~FakeWinKeyer() { Unplug(); }

  const std::filesystem::path& Path() const { return path_; }
  // A keyer that never answers the host open (the wrong device, a dead chip).
  void SetMute(bool mute) { mute_ = mute; }
  void SetXoffAt(std::size_t characters) { xoff_at_ = characters; }
  void SetCharTime(std::chrono::milliseconds time) { char_time_ = time; }

  void PlugIn() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    const std::string slave = ptsname(master_);
    // Raw from the start: the host's first bytes must not be echoed back.
    const int fd = open(slave.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    tcgetattr(fd, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
    close(fd);
    std::filesystem::remove(path_);
    std::filesystem::create_symlink(slave, path_);
    running_ = true;
    thread_ = std::thread([this] { Run(); });
  }
  void Unplug() {
    if (!running_) {
      return;
    }
    running_ = false;
    thread_.join();
    close(master_);
    std::filesystem::remove(path_);
  }
  // A byte from the keyer itself (the speed pot turned).
  void Emit(std::uint8_t byte) {
    std::lock_guard lock(mutex_);
    Write(byte);
  }

  std::string Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }
  // When the byte at `index` arrived (or nothing yet).
  std::optional<Clock::time_point> ArrivalOf(std::size_t index) {
    std::lock_guard lock(mutex_);
    return index < arrivals_.size() ? std::optional(arrivals_[index]) : std::nullopt;
  }
  int XoffsRaised() const { return xoffs_; }
  int BytesPastXoff() const { return past_xoff_; }
  std::string Keyed() {
    std::lock_guard lock(mutex_);
    return keyed_;
  }

 private:
  void Run() {
    Clock::time_point next_key = Clock::now();
    while (running_) {
      pollfd ready{master_, POLLIN, 0};
      if (poll(&ready, 1, 2) > 0 && (ready.revents & POLLIN) != 0) {
        char in[256];
        const ssize_t got = read(master_, in, sizeof in);
        std::lock_guard lock(mutex_);
        for (ssize_t i = 0; i < got; ++i) {
          Take(static_cast<std::uint8_t>(in[i]));
        }
      }
      std::lock_guard lock(mutex_);
      if (!buffer_.empty() && Clock::now() >= next_key) {
        keyed_ += buffer_.front();
        buffer_.erase(0, 1);
        next_key = Clock::now() + char_time_.load();
        Status();
      }
    }
  }
  void Take(std::uint8_t byte) {
    received_ += static_cast<char>(byte);
    arrivals_.push_back(Clock::now());
    if (pending_arguments_ > 0) {
      --pending_arguments_;
      if (admin_) {
        admin_ = false;
        if (byte == 0x02 && !mute_) {
          Write(version_);
        }
      }
      return;
    }
    switch (byte) {
      case 0x00:
        admin_ = true;
        pending_arguments_ = 1;
        return;
      case 0x02:
      case 0x18:
        pending_arguments_ = 1;
        return;
      case 0x05:
        pending_arguments_ = 3;
        return;
      case 0x0A:
        buffer_.clear();
        Status();
        return;
      default:
        break;
    }
    if (byte >= 0x20 && byte < 0x80) {
      if (xoff_ && Clock::now() - xoff_since_ > std::chrono::milliseconds(40)) {
        ++past_xoff_;
      }
      buffer_ += static_cast<char>(byte);
      Status();
    }
  }
  // The status byte, sent when it changes: busy while there is text, XOFF while the buffer is
  // full.
  void Status() {
    const bool xoff = buffer_.size() >= xoff_at_;
    if (xoff && !xoff_) {
      ++xoffs_;
      xoff_since_ = Clock::now();
    }
    xoff_ = xoff;
    const std::uint8_t status = 0xC0 | (xoff ? 0x01 : 0) | (buffer_.empty() ? 0 : 0x04);
    if (status != last_status_) {
      last_status_ = status;
      Write(status);
    }
  }
  void Write(std::uint8_t byte) { (void)write(master_, &byte, 1); }

  std::filesystem::path path_;
  const std::uint8_t version_;
  int master_ = -1;
  std::atomic<bool> running_ = false;
  std::atomic<bool> mute_ = false;
  std::atomic<std::size_t> xoff_at_ = 1000;
  std::atomic<std::chrono::milliseconds> char_time_ = std::chrono::milliseconds(20);
  std::thread thread_;
  std::mutex mutex_;
  std::string received_;
  std::vector<Clock::time_point> arrivals_;
  std::string buffer_;
  std::string keyed_;
  int pending_arguments_ = 0;
  bool admin_ = false;
  bool xoff_ = false;
  Clock::time_point xoff_since_;
  std::atomic<int> xoffs_ = 0;
  std::atomic<int> past_xoff_ = 0;
  std::uint8_t last_status_ = 0xC0;
};

}  // namespace keldra::testing
