// The link to the ON4KST chat server, on a thread of its own so the typing never waits for the
// network: it connects, logs in to the room, answers the server's keep-alive and sends its own
// when the line is quiet, and reconnects by itself after a drop with a pause that grows from a
// few seconds to half a minute. A server that stops answering counts as a drop. A refused login
// (a wrong password) is not tried again until the operator connects anew, so a wrong password
// never becomes a storm of attempts.
//
// What arrives goes back to the user-interface thread through `post`: the frames in batches and
// every change of the link's state. The password goes to the server and nowhere else.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/ChatProtocol.h"
#include "radio/DeviceThread.h"
#include "system/Socket.h"

namespace keldra {

struct ChatLogin {
  std::string host;
  int port = 0;
  std::string call;
  std::string password;
  int room = kDefaultChatRoom;
  std::string locator;  // told to the room once logged in, when set
};

struct ChatTiming {
  std::chrono::milliseconds first_retry{3000};
  std::chrono::milliseconds longest_retry{30000};
  // Nothing received for this long: the link is dead (the server sends its keep-alive often).
  std::chrono::milliseconds stall{180000};
  // Our own keep-alive after this long without sending.
  std::chrono::milliseconds keep_alive{60000};
  std::chrono::milliseconds connect{10000};
  // How long one wait for the server lasts before the thread looks at its queue again.
  std::chrono::milliseconds slice{100};
};

enum class ChatLinkState { kConnecting, kLoggingIn, kOnline, kWaiting, kRefused };

struct ChatLinkStatus {
  ChatLinkState state = ChatLinkState::kConnecting;
  std::string why;        // for kWaiting and kRefused: what happened, in Italian (UTF-8)
  int retry_seconds = 0;  // kWaiting: the pause before the next attempt
  ChatStreamCounts counts;
  friend bool operator==(const ChatLinkStatus&, const ChatLinkStatus&) = default;
};

// The events, run on the user-interface thread.
struct ChatLinkEvents {
  std::function<void(const ChatLinkStatus&)> status;
  std::function<void(std::vector<ChatFrame>&&)> frames;
};

class ChatLink : public DeviceThread {
 public:
  ChatLink(PostToUi post, ChatLogin login, ChatTiming timing, ChatLinkEvents events);
  ~ChatLink() override;

  // A frame to send (a message, a locator); dropped when the link is not up.
  void Send(std::string frame);

 protected:
  void Tick() override;
  void Shutdown() override;

 private:
  using Clock = std::chrono::steady_clock;
  void Open();
  void Read();
  void Drop(const std::string& why);
  bool Write(const std::string& frame);
  void Tell(ChatLinkState state, std::string why = {}, int retry_seconds = 0);
  void Hand(std::vector<ChatFrame>&& frames);

  ChatLogin login_;
  ChatTiming chat_timing_;
  // Held by the posted jobs weakly: a job that runs after the link is gone does nothing.
  std::shared_ptr<ChatLinkEvents> events_;
  // The thread's own from here on.
  TcpSocket socket_;
  ChatStreamReader reader_;
  ChatLinkState state_ = ChatLinkState::kConnecting;
  int failures_ = 0;
  Clock::time_point next_attempt_{};
  Clock::time_point last_received_{};
  Clock::time_point last_sent_{};
};

// The pause before attempt `failures` + 1: doubling from the first, never past the longest.
std::chrono::milliseconds ChatRetryPause(int failures, const ChatTiming& timing);

}  // namespace keldra
