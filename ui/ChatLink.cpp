#include "ui/ChatLink.h"

#include <algorithm>

namespace keldra {
namespace {

// The server's refusal in the operator's words; its own words follow for codes we do not know.
std::string RefusalText(const ChatFrame& frame) {
  if (frame.code == "114") {
    return "password errata";
  }
  if (frame.code == "101") {
    return "nominativo non registrato sulla chat";
  }
  if (frame.code == "102" || frame.code == "103") {
    return "nominativo non valido";
  }
  return "accesso rifiutato (codice " + frame.code + (frame.reason.empty() ? "" : ": ") +
         frame.reason + ")";
}

std::string FailureText(SocketFailure failure) {
  switch (failure) {
    case SocketFailure::kUnknownHost:
      return "server sconosciuto";
    case SocketFailure::kRefused:
      return "connessione rifiutata";
    case SocketFailure::kTimedOut:
      return "il server non risponde";
    case SocketFailure::kClosed:
      return "il server ha chiuso la connessione";
    default:
      return "errore di rete";
  }
}

}  // namespace

std::chrono::milliseconds ChatRetryPause(int failures, const ChatTiming& timing) {
  std::chrono::milliseconds pause = timing.first_retry;
  for (int i = 1; i < failures && pause < timing.longest_retry; ++i) {
    pause *= 2;
  }
  return std::min(pause, timing.longest_retry);
}

ChatLink::ChatLink(PostToUi post, ChatLogin login, ChatTiming timing, ChatLinkEvents events)
    : DeviceThread(std::move(post), DeviceTiming{.poll = std::chrono::milliseconds(20)}),
      login_(std::move(login)),
      chat_timing_(timing),
      events_(std::make_shared<ChatLinkEvents>(std::move(events))) {
  Start();
}

ChatLink::~ChatLink() { Stop(); }

void ChatLink::Send(std::string frame) {
  Enqueue([this, frame = std::move(frame)] {
    if (state_ == ChatLinkState::kOnline && socket_.IsOpen()) {
      Write(frame);
    }
  });
}

void ChatLink::Tick() {
  if (state_ == ChatLinkState::kRefused) {
    return;
  }
  if (!socket_.IsOpen()) {
    if (Clock::now() >= next_attempt_) {
      Open();
    }
    return;
  }
  Read();
}

void ChatLink::Shutdown() { socket_.Close(); }

void ChatLink::Open() {
  Tell(ChatLinkState::kConnecting);
  const SocketFailure failure =
      socket_.Connect(login_.host, login_.port, Clock::now() + chat_timing_.connect);
  if (failure != SocketFailure::kNone) {
    Drop(FailureText(failure));
    return;
  }
  reader_.Reset();
  last_received_ = Clock::now();
  if (Write(LoginFrame(login_.call, login_.password, login_.room))) {
    Tell(ChatLinkState::kLoggingIn);
  }
}

void ChatLink::Read() {
  std::string bytes;
  const auto now = Clock::now();
  const SocketFailure failure = socket_.Receive(bytes, now + chat_timing_.slice);
  if (failure == SocketFailure::kTimedOut) {
    if (Clock::now() - last_received_ > chat_timing_.stall) {
      Drop("il server non risponde");
    } else if (state_ == ChatLinkState::kOnline &&
               Clock::now() - last_sent_ > chat_timing_.keep_alive) {
      Write(KeepAliveFrame());
    }
    return;
  }
  if (failure != SocketFailure::kNone) {
    Drop(FailureText(failure));
    return;
  }
  last_received_ = Clock::now();
  std::vector<ChatFrame> frames;
  const ChatStreamCounts before = reader_.Counts();
  reader_.Feed(bytes, frames);
  for (const ChatFrame& frame : frames) {
    if (frame.kind == ChatFrameKind::kLoginAccepted && state_ == ChatLinkState::kLoggingIn) {
      failures_ = 0;
      state_ = ChatLinkState::kOnline;
      Write(SettingsDoneFrame(login_.room));
      if (!login_.locator.empty()) {
        Write(LocatorFrame(login_.room, login_.locator));
      }
      Tell(ChatLinkState::kOnline);
    } else if (frame.kind == ChatFrameKind::kLoginRefused) {
      socket_.Close();
      Tell(ChatLinkState::kRefused, RefusalText(frame));
      return;
    } else if (frame.kind == ChatFrameKind::kKeepAlive) {
      Write(KeepAliveFrame());
    }
  }
  Hand(std::move(frames));
  // The operator sees what the server sent that could not be read.
  const ChatStreamCounts& after = reader_.Counts();
  if (state_ == ChatLinkState::kOnline &&
      (after.malformed != before.malformed || after.too_long != before.too_long)) {
    Tell(state_);
  }
}

bool ChatLink::Write(const std::string& frame) {
  const SocketFailure failure = socket_.Send(frame, Clock::now() + chat_timing_.connect);
  if (failure != SocketFailure::kNone) {
    Drop(FailureText(failure));
    return false;
  }
  last_sent_ = Clock::now();
  return true;
}

void ChatLink::Drop(const std::string& why) {
  socket_.Close();
  ++failures_;
  const std::chrono::milliseconds pause = ChatRetryPause(failures_, chat_timing_);
  next_attempt_ = Clock::now() + pause;
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(pause + std::chrono::milliseconds(999));
  Tell(ChatLinkState::kWaiting, why, static_cast<int>(seconds.count()));
}

void ChatLink::Tell(ChatLinkState state, std::string why, int retry_seconds) {
  state_ = state;
  ChatLinkStatus status{state, std::move(why), retry_seconds, reader_.Counts()};
  post_([weak = std::weak_ptr<ChatLinkEvents>(events_), status = std::move(status)] {
    if (auto events = weak.lock(); events && events->status) {
      events->status(status);
    }
  });
}

void ChatLink::Hand(std::vector<ChatFrame>&& frames) {
  if (frames.empty()) {
    return;
  }
  post_([weak = std::weak_ptr<ChatLinkEvents>(events_), frames = std::move(frames)]() mutable {
    if (auto events = weak.lock(); events && events->frames) {
      events->frames(std::move(frames));
    }
  });
}

}  // namespace keldra
