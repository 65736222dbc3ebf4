// The real-input harness: the operator's steps written once and played twice, through the model
// windows (the reference) and through the real program under a virtual X server with a window
// manager and the Italian keyboard, driven by real key and mouse events from xdotool. After every
// step the real program's folder must come to hold the same files as the model's.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "support/TestDoubles.h"
#include "ui/Program.h"

namespace keldra::e2e {

// One thing the operator does. Window and control are the name strings of the program's own
// windows and controls, so the layout comes from the windows themselves.
struct Step {
  enum class Kind { kKeys, kClick, kPaste, kKillAndRestart, kChoose };
  Kind kind;
  std::string window;   // kClick, and kKeys: the window that must be active
  std::string control;  // kClick
  std::string keys;  // kChoose: the item (Windows-1252); kKeys, UTF-8: "\n" Enter, "\b" Backspace,
                     // "\x01" Up, "\x02" Down,
                     // "\x03" F12, "\x04" F1, "\x05" Ctrl+A, "\x06" PgUp, "\x07" PgDn,
                     // "\x1b" Esc
  std::string shot;  // a screenshot's name after this step, if any
};

Step Keys(std::string window, std::string keys, std::string shot = {});
Step Click(std::string window, std::string control, std::string shot = {});
// Ctrl+V then Shift+Insert with `text` on the X clipboard, put there by another program (xclip);
// an empty text leaves the clipboard as it is (empty on a new display). The model types the text,
// which is what a paste must amount to.
Step Paste(std::string window, std::string text);
// An item of a drop-down list chosen as an operator does: a click opens the list, Home and Down
// reach the item, Enter takes it.
Step Choose(std::string window, std::string control, std::string item);
// The program killed with SIGKILL (the model simply stops), then started again.
Step KillAndRestart();
// A QSO typed over the main window's entry row off-line, from the time field: the time, the mode
// with an arrow, the call, the serial received, the locator, the club code, "OK".
Step OffLineQso(const char* time, bool cw, const char* call, const char* serial,
                const char* locator, const char* club);

// What the operator's session starts from: the clock (local time, Italian summer time) and the
// files already in the program folder.
struct StartState {
  DateTime local;
  int utc_offset_minutes = 120;
  std::map<std::string, std::string> files;
  // The model's rig and rotator (none when null).
  Radio* devices = nullptr;
  // The model's CW keyers (the rig's keyer only when null).
  KeyerDrivers* keyers = nullptr;
  // The model's voice player (none when null).
  VoicePlayer* voice = nullptr;
  // Variables added to the real program's environment.
  std::map<std::string, std::string> environment = {};
};

// The Windows program (KELDRA_WINDOWS_EXE, run under Wine in WINEPREFIX) that RealProgram starts
// in place of the Linux build's; empty when the real program is the Linux one.
std::string WindowsProgram();

// The files of a program folder that the program writes, by name, with their bytes.
std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder);

// The model run: a Program on a temporary folder with a fixed clock, driven as an operator would.
class ModelOperator {
 public:
  ModelOperator(const StartState& setup, const std::filesystem::path& folder);
  ~ModelOperator();
  // Plays a step; returns the titles of the message boxes it showed (the operator closes each).
  std::vector<std::string> Play(const Step& step);
  Form& Window(const std::string& name);
  Control& ControlOf(const std::string& window, const std::string& name);
  Program& program() { return *program_; }

 private:
  void Start();
  class Tracker;
  std::unique_ptr<Tracker> tracker_;
  RecordingMessageBox messages_;
  FixedClock clock_;
  std::filesystem::path folder_;
  Radio* devices_;
  KeyerDrivers* keyers_;
  VoicePlayer* voice_;
  std::unique_ptr<Program> program_;
};

// A virtual X display with a window manager and the Italian layout; torn down with the object.
class XSession {
 public:
  XSession();
  ~XSession();
  const std::string& Display() const { return display_; }
  // Runs a command on this display; returns its standard output (empty on failure).
  std::string Run(const std::string& command) const;
  void Screenshot(const std::string& name) const;
  // The titles of a process's visible windows, waiting up to a minute for the first to appear.
  std::vector<std::string> WindowTitles(pid_t pid) const;
  // The ids of a process's visible windows now.
  std::vector<std::string> Windows(pid_t pid) const;
  // Whether an X window answers the window manager's ping (_NET_WM_PING) within `timeout`: a
  // program whose user-interface thread hangs does not. A window that is gone meanwhile counts
  // as answering (tests/e2e/WindowProbe.cpp).
  bool Answers(const std::string& window, std::chrono::milliseconds timeout) const;

 private:
  std::string display_;
  pid_t xvfb_ = -1;
  pid_t window_manager_ = -1;
};

// The real program on the session's display, with the clock set by faketime. By default the
// build's executable is copied into `folder`, as an unpacked copy keeps its files beside itself;
// given an `executable` (an installed one), that one runs where it is, with the `arguments` as
// they are (`--cartella folder` for the folder to be used), and the folder is made beforehand only
// when `setup` has files for it. With WindowsProgram() and neither `executable` nor `arguments`,
// the Windows program runs under Wine on `folder` (given with --cartella), Wine's server kept up
// from one start to the next so a restart costs what a Windows start costs.
class RealProgram {
 public:
  RealProgram(const XSession& x, const std::filesystem::path& folder, const StartState& setup,
              std::vector<std::string> arguments = {}, std::filesystem::path executable = {});
  ~RealProgram();
  void Start();
  void Kill();
  // True while the process runs; reaps it once it has ended.
  bool Running();
  // Waits for the process to end; returns its exit status, or -1 when it did not end in time or
  // died by a signal.
  int WaitForExit(int seconds);
  pid_t Pid() const { return pid_; }
  // Wine's server when the Windows program runs (it passes the program's window messages), or -1.
  pid_t ServerPid() const { return wineserver_; }
  // What the program printed (it goes to a file beside its folder).
  std::string Output() const;

 private:
  std::string LogPath() const;

  const XSession& x_;
  std::filesystem::path folder_;
  StartState setup_;
  std::vector<std::string> arguments_;
  std::filesystem::path executable_;
  bool windows_ = false;
  pid_t wineserver_ = -1;
  pid_t pid_ = -1;
  int status_ = 0;
};

// The real run: plays steps as X events, with the controls' positions taken from the model.
class XOperator {
 public:
  XOperator(const XSession& x, RealProgram& real, ModelOperator& layout)
      : x_(x), real_(real), layout_(layout) {}
  // A step with what the model's windows say of it before it is played: the window's title and
  // the point to click, in pixels inside the window.
  struct Prepared {
    Step step;
    std::string title;
    int x = 0;
    int y = 0;
    int item = 0;  // kChoose: the item's place in the list
  };
  Prepared Prepare(const Step& step);
  // Plays a step; closes the message boxes the model showed for it, by their titles.
  void Play(const Prepared& prepared, const std::vector<std::string>& messages);
  // The X window with this title (Windows-1252), waiting for it to appear; empty when it does not.
  std::string WaitForWindow(const std::string& title, int seconds = 10) const;
  void TypeKeys(const std::string& keys) const;
  void Screenshot(const std::string& name) const { x_.Screenshot(name); }

 private:
  std::string Activate(const std::string& title);

  const XSession& x_;
  RealProgram& real_;
  ModelOperator& layout_;
};

// The xdotool key names that type a text on an Italian keyboard: Shift for capitals, '/' (Shift+7)
// and ':' (Shift+.); AltGr for '@'; the accented letters on their own keys.
std::vector<std::string> ItalianKeys(const std::string& utf8);

// Plays every step through the model and the real program, and after each step waits until the
// real folder holds the model's files; fails the test on the first difference.
void PlayBoth(const std::vector<Step>& steps, ModelOperator& model, XOperator& real,
              const std::filesystem::path& model_folder, const std::filesystem::path& real_folder);

// The model and the real program started side by side on one start state, each on a folder of
// its own, with the operator who drives the real one: what every scenario begins with.
struct BothRuns {
  BothRuns(const XSession& x, const StartState& setup);
  // Plays the steps through both (PlayBoth over the two folders).
  void Play(const std::vector<Step>& steps);

  testing::TempFolder model_root;
  testing::TempFolder real_root;
  const std::filesystem::path model_folder;
  const std::filesystem::path real_folder;
  ModelOperator model;
  RealProgram real;
  XOperator op;
};

}  // namespace keldra::e2e
