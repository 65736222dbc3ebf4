// The window manager's ping, sent as a window manager sends it: a client message _NET_WM_PING to
// the window, which the program's user-interface thread answers by sending it back to the root
// window. Qt and Wine both offer the protocol on their top-level windows and answer it from the
// thread that runs the windows, so a hung thread leaves the ping unanswered.
// Xlib's macros (None, Bool, Status) come after every other header, which they would break.
// clang-format off
#include "Harness.h"
#include <poll.h>
#include <chrono>
#include <string>
#include <X11/Xlib.h>
// clang-format on

namespace keldra::e2e {
namespace {

// A window destroyed between the search and the ping is no fault of the probe's.
int IgnoreXErrors(::Display*, XErrorEvent*) { return 0; }

}  // namespace

bool XSession::Answers(const std::string& window_id, std::chrono::milliseconds timeout) const {
  ::Display* display = XOpenDisplay(display_.c_str());
  if (display == nullptr) {
    return false;
  }
  const auto old_handler = XSetErrorHandler(IgnoreXErrors);
  const auto window = static_cast<::Window>(std::stoul(window_id));
  const ::Window root = DefaultRootWindow(display);
  // The answer goes to the root window for the window manager (SubstructureRedirect) and for
  // whoever listens there with StructureNotify (Qt) or SubstructureNotify (the protocol's text).
  XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = protocols;
  message.xclient.format = 32;
  message.xclient.data.l[0] = static_cast<long>(ping);
  message.xclient.data.l[1] = CurrentTime;
  message.xclient.data.l[2] = static_cast<long>(window);
  XSendEvent(display, window, False, NoEventMask, &message);
  XFlush(display);

  bool answered = false;
  const auto until = std::chrono::steady_clock::now() + timeout;
  while (!answered && std::chrono::steady_clock::now() < until) {
    while (!answered && XPending(display) > 0) {
      XEvent event{};
      XNextEvent(display, &event);
      answered = event.type == ClientMessage && event.xclient.message_type == protocols &&
                 static_cast<Atom>(event.xclient.data.l[0]) == ping &&
                 static_cast<::Window>(event.xclient.data.l[2]) == window;
    }
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, 50);
  }
  if (!answered) {
    XWindowAttributes attributes{};
    answered = XGetWindowAttributes(display, window, &attributes) == 0;
  }
  XSetErrorHandler(old_handler);
  XCloseDisplay(display);
  return answered;
}

}  // namespace keldra::e2e
