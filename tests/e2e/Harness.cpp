#include "Harness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "system/CodePage.h"
#include "widgets/Buttons.h"
#include "widgets/Form.h"
#include "widgets/FrontEndRules.h"
#include "widgets/Lists.h"
#include "widgets/Screen.h"
#include "widgets/TextBox.h"

namespace keldra::e2e {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr char kUp = '\x01';
constexpr char kDown = '\x02';
constexpr char kF12 = '\x03';
constexpr char kF1 = '\x04';
constexpr char kSelectAll = '\x05';
constexpr char kEscape = '\x1b';
constexpr char kPageUp = '\x06';
constexpr char kPageDown = '\x07';

// Starts a program with extra environment variables; its output goes to `log` when given.
pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const std::string& log = {}, int keep_fd = -1) {
  const pid_t pid = fork();
  if (pid != 0) {
    return pid;
  }
  for (const auto& [name, value] : env) {
    if (value.empty()) {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), value.c_str(), 1);
    }
  }
  const int out =
      open(log.empty() ? "/dev/null" : log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  dup2(out, 1);
  dup2(out, 2);
  for (int fd = 3; fd < 256; ++fd) {
    if (fd != keep_fd) {
      close(fd);
    }
  }
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) {
    args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

void Stop(pid_t& pid, int signal) {
  if (pid <= 0) {
    return;
  }
  kill(pid, signal);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

std::string RegexQuoted(const std::string& text) {
  std::string out = "^";
  for (char c : text) {
    if (std::string_view(".[]{}()*+?^$|\\").find(c) != std::string_view::npos) {
      out += '\\';
    }
    out += c;
  }
  return out + "$";
}

std::string FakeTimeLibrary() {
  for (const auto& entry : fs::directory_iterator("/usr/lib")) {
    const fs::path library = entry.path() / "faketime" / "libfaketimeMT.so.1";
    if (fs::exists(library)) {
      return library.string();
    }
  }
  throw std::runtime_error("libfaketime is not installed");
}

// The environment of every Wine process of a run: the prefix comes from the caller's WINEPREFIX;
// Wine's own Mono and Gecko are neither needed nor installed.
const std::map<std::string, std::string> kWineEnvironment = {
    {"WINEDEBUG", "-all"}, {"WINEDLLOVERRIDES", "mscoree,mshtml="}};

// The folder as the Windows program names it: Wine shows the Linux root as drive Z:.
std::string WindowsPath(const fs::path& folder) {
  std::string path = "Z:" + fs::absolute(folder).string();
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string ScreenshotFolder() {
  const char* folder = std::getenv("KELDRA_SCREENSHOTS");
  return folder != nullptr ? folder : "screenshots";
}

// The control's rectangle in pixels inside its window: its position adds up along its containers.
std::array<int, 4> PixelRect(const Control& control) {
  int left = control.Left();
  int top = control.Top();
  for (const Control* c = control.Container(); c != nullptr; c = c->Container()) {
    left += c->Left();
    top += c->Top();
  }
  return {left / kTwipsPerPixel, top / kTwipsPerPixel, control.Width() / kTwipsPerPixel,
          control.Height() / kTwipsPerPixel};
}

// The place of `item` in a list; an error when the list lacks it.
int ItemOf(const ListControl& list, const std::string& item) {
  const auto& items = list.Items();
  const auto it = std::find(items.begin(), items.end(), item);
  if (it == items.end()) {
    throw std::runtime_error("no item " + item + " in " + list.Name());
  }
  return static_cast<int>(it - items.begin());
}

}  // namespace

std::string WindowsProgram() {
  const char* exe = std::getenv("KELDRA_WINDOWS_EXE");
  return exe != nullptr ? exe : "";
}

Step Keys(std::string window, std::string keys, std::string shot) {
  return {Step::Kind::kKeys, std::move(window), {}, std::move(keys), std::move(shot)};
}
Step Click(std::string window, std::string control, std::string shot) {
  return {Step::Kind::kClick, std::move(window), std::move(control), {}, std::move(shot)};
}
Step Paste(std::string window, std::string text) {
  return {Step::Kind::kPaste, std::move(window), {}, std::move(text), {}};
}
Step Choose(std::string window, std::string control, std::string item) {
  return {Step::Kind::kChoose, std::move(window), std::move(control), std::move(item), {}};
}
Step KillAndRestart() { return {Step::Kind::kKillAndRestart, {}, {}, {}, {}}; }
Step OffLineQso(const char* time, bool cw, const char* call, const char* serial,
                const char* locator, const char* club) {
  return Keys("Form1", std::string(6, '\b') + time + "\n\n" + (cw ? "\x02" : "\x01") + "\n" + call +
                           "\n\n\n" + serial + "\n" + locator + "\n" + club + "\n\n");
}

std::map<std::string, std::string> FolderFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    // The executable, the instance lock and the temporary files of a write under way.
    if (!entry.is_regular_file() || name == "keldra" || name.front() == '.') {
      continue;
    }
    files[name] = testing::ReadBytes(entry.path());
    // An image is compared by being a PNG at all: the model cannot paint (its stand-in writes the
    // signature only), and a test that saves one looks at the real image itself.
    if (name.ends_with(".png")) {
      files[name].resize(std::min<std::size_t>(files[name].size(), 8));
    }
    // The model has no desktop: where the window system put the chat window (the last lines of
    // chat.txt) is the real program's alone.
    if (const std::size_t at = files[name].find("\r\nleft=");
        name == "chat.txt" && at != std::string::npos) {
      files[name].resize(at + 2);
    }
  }
  return files;
}

namespace {
// What the model's "Salva immagine" writes in place of a painted image.
class PngStandIn : public DrawingPainter {
 public:
  std::optional<std::string> Png(const Drawing&) override {
    return std::string("\x89PNG\r\n\x1a\n", 8) + "model";
  }
};
PngStandIn png_stand_in;
}  // namespace

// Knows the windows on screen by their names, as the front end would.
class ModelOperator::Tracker : public ScreenObserver {
 public:
  void ControlChanged(Control&, Property) override {}
  void FormShown(Form& form) override { shown[form.Name()] = &form; }
  void FormHidden(Form& form) override { shown.erase(form.Name()); }
  void FormUnloaded(Form& form) override { shown.erase(form.Name()); }
  void FormCaptionChanged(Form&) override {}
  void FocusChanged(Control*) override {}
  std::map<std::string, Form*> shown;
};

ModelOperator::ModelOperator(const StartState& setup, const fs::path& folder)
    : tracker_(std::make_unique<Tracker>()),
      clock_(setup.local, setup.utc_offset_minutes),
      folder_(folder),
      devices_(setup.devices),
      keyers_(setup.keyers),
      voice_(setup.voice) {
  for (const auto& [name, bytes] : setup.files) {
    fs::create_directories((folder_ / name).parent_path());  // "storico/C_W" and the like
    testing::WriteBytes(folder_ / name, bytes);
  }
  Start();
}

ModelOperator::~ModelOperator() = default;

void ModelOperator::Start() {
  tracker_->shown.clear();
  program_ = std::make_unique<Program>(messages_, clock_, folder_);
  if (devices_ != nullptr) {
    program_->SetDevices(*devices_);
  }
  if (keyers_ != nullptr) {
    program_->SetKeyers(*keyers_);
  }
  program_->SetVoice(voice_);
  program_->Desktop().SetObserver(tracker_.get());
  program_->SetPainter(&png_stand_in);
  program_->Start();
}

Form& ModelOperator::Window(const std::string& name) {
  const auto it = tracker_->shown.find(name);
  if (it == tracker_->shown.end()) {
    throw std::runtime_error("window not shown: " + name);
  }
  return *it->second;
}

Control& ModelOperator::ControlOf(const std::string& window, const std::string& name) {
  for (Control* control : Window(window).Controls()) {
    if (control->Name() == name) {
      return *control;
    }
  }
  throw std::runtime_error("no control " + name + " in " + window);
}

std::vector<std::string> ModelOperator::Play(const Step& step) {
  const std::size_t before = messages_.shown.size();
  switch (step.kind) {
    case Step::Kind::kKeys:
      for (const char c : Utf8ToCp1252(step.keys)) {
        Control* focus = program_->Desktop().ActiveControl();
        if (focus == nullptr) {
          throw std::runtime_error("keys with no focus: " + step.keys);
        }
        if (auto* button = dynamic_cast<CommandButton*>(focus)) {
          if (c == '\n' || c == ' ') {
            button->Press();
          }
          continue;
        }
        auto* box = dynamic_cast<TextBox*>(focus);
        if (box == nullptr) {
          continue;
        }
        if (c == '\b') {
          box->Backspace();
        } else if (c == kUp) {
          box->PressKey(key::kUp);
        } else if (c == kDown) {
          box->PressKey(key::kDown);
        } else if (c == kF12) {
          box->PressKey(key::kF1 + 11);
        } else if (c == kF1) {
          box->PressKey(key::kF1);
        } else if (c == kEscape) {
          box->PressKey(key::kEscape);
        } else if (c == kSelectAll) {
          // What every front end does with Ctrl+A (widgets/FrontEndRules.h).
          if (RouteKey(program_->Desktop(), *box, {'A', {false, true, false}}, std::nullopt) ==
              KeyOutcome::kSelectAll) {
            box->SelectAll();
          }
        } else if (c == kPageUp || c == kPageDown) {
          box->PressKey(c == kPageUp ? key::kPageUp : key::kPageDown);
        } else {
          box->Type(std::string(1, c));
        }
      }
      break;
    case Step::Kind::kPaste:
      if (auto* box = dynamic_cast<TextBox*>(program_->Desktop().ActiveControl())) {
        box->Type(Utf8ToCp1252(step.keys));
      }
      break;
    case Step::Kind::kClick: {
      Control& control = ControlOf(step.window, step.control);
      if (auto* button = dynamic_cast<CommandButton*>(&control)) {
        button->Press();
      } else if (auto* check = dynamic_cast<CheckBox*>(&control)) {
        check->Toggle();
      } else if (auto* box = dynamic_cast<TextBox*>(&control)) {
        // The harness clicks at the right end of a box: the caret lands after the text.
        box->SetFocus();
        box->CaretToEnd();
      }
      break;
    }
    case Step::Kind::kChoose: {
      auto& list = dynamic_cast<ListControl&>(ControlOf(step.window, step.control));
      list.SetFocus();
      list.SetListIndex(ItemOf(list, step.keys));
      break;
    }
    case Step::Kind::kKillAndRestart:
      program_.reset();
      Start();
      break;
  }
  std::vector<std::string> titles;
  for (std::size_t i = before; i < messages_.shown.size(); ++i) {
    titles.push_back(messages_.shown[i].title);
  }
  return titles;
}

XSession::XSession() {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) {
    throw std::runtime_error("pipe");
  }
  xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(pipe_fds[1]), "-screen", "0", "1600x1200x24",
                 "-nolisten", "tcp"},
                {}, {}, pipe_fds[1]);
  close(pipe_fds[1]);
  // Xvfb writes the number of the display it took, then a line end.
  std::string number;
  char c = 0;
  while (read(pipe_fds[0], &c, 1) == 1 && c != '\n') {
    number += c;
  }
  close(pipe_fds[0]);
  if (number.empty()) {
    throw std::runtime_error("Xvfb did not start (is it installed?)");
  }
  display_ = ":" + number;
  window_manager_ = Spawn({"openbox", "--sm-disable"}, {{"DISPLAY", display_}});
  // The window manager is up when it has claimed the root window.
  for (int i = 0; i < 100 && Run("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") ==
                                 std::string::npos;
       ++i) {
    std::this_thread::sleep_for(50ms);
  }
  // A loaded machine may need a few tries before the keymap takes.
  for (int i = 0; i < 50; ++i) {
    Run("setxkbmap -layout it");
    if (Run("setxkbmap -query").find("layout:     it") != std::string::npos) {
      return;
    }
    std::this_thread::sleep_for(200ms);
  }
  throw std::runtime_error("the Italian layout could not be set on " + display_);
}

XSession::~XSession() {
  Stop(window_manager_, SIGTERM);
  Stop(xvfb_, SIGTERM);
}

std::string XSession::Run(const std::string& command) const {
  const std::string line = "DISPLAY=" + display_ + " " + command + " 2>/dev/null";
  FILE* pipe = popen(line.c_str(), "r");
  if (pipe == nullptr) {
    return {};
  }
  std::string out;
  std::array<char, 4096> buffer{};
  while (const std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) {
    out.append(buffer.data(), n);
  }
  pclose(pipe);
  return out;
}

void XSession::Screenshot(const std::string& name) const {
  fs::create_directories(ScreenshotFolder());
  // The Windows program's screens beside the Linux program's of the same step.
  const std::string prefix = WindowsProgram().empty() ? "" : "wine_";
  Run("import -window root '" + ScreenshotFolder() + "/" + prefix + name + ".png'");
}

std::vector<std::string> XSession::Windows(pid_t pid) const {
  std::istringstream found(Run("xdotool search --onlyvisible --pid " + std::to_string(pid)));
  std::vector<std::string> ids;
  for (std::string id; found >> id;) {
    ids.push_back(id);
  }
  return ids;
}

std::vector<std::string> XSession::WindowTitles(pid_t pid) const {
  // A start may take up to a minute on a loaded machine; a window that is up ends the wait.
  const auto until = std::chrono::steady_clock::now() + 60s;
  while (std::chrono::steady_clock::now() < until) {
    std::vector<std::string> titles;
    for (const std::string& id : Windows(pid)) {
      std::string title = Run("xdotool getwindowname " + id);
      while (!title.empty() && title.back() == '\n') {
        title.pop_back();
      }
      if (!title.empty()) {
        titles.push_back(title);
      }
    }
    if (!titles.empty()) {
      return titles;
    }
    std::this_thread::sleep_for(50ms);
  }
  return {};
}

RealProgram::RealProgram(const XSession& x, const fs::path& folder, const StartState& setup,
                         std::vector<std::string> arguments, fs::path executable)
    : x_(x),
      folder_(folder),
      setup_(setup),
      arguments_(std::move(arguments)),
      executable_(std::move(executable)) {
  // A Windows program runs under Wine, the build's as well as an installed one.
  windows_ = executable_.extension() == ".exe";
  if (executable_.empty() && arguments_.empty() && !WindowsProgram().empty()) {
    windows_ = true;
    fs::create_directories(folder_);
    executable_ = WindowsProgram();
    arguments_ = {"--cartella", WindowsPath(folder_)};
  } else if (executable_.empty()) {
    fs::create_directories(folder_);
    fs::copy_file(KELDRA_EXECUTABLE, folder_ / "keldra", fs::copy_options::overwrite_existing);
    executable_ = folder_ / "keldra";
  } else {
    if (!setup.files.empty()) {
      fs::create_directories(folder_);
    }
  }
  for (const auto& [name, bytes] : setup.files) {
    fs::create_directories((folder_ / name).parent_path());  // "storico/C_W" and the like
    testing::WriteBytes(folder_ / name, bytes);
  }
}

// The Wine server one of the running programs started: a second copy started meanwhile (two
// copies side by side) runs under it rather than ending it.
pid_t shared_wineserver = -1;

RealProgram::~RealProgram() {
  Kill();
  if (wineserver_ > 0) {
    shared_wineserver = -1;
    // Ends the prefix's helper processes (explorer.exe and the like) with the server.
    pid_t stopper = Spawn({"wineserver", "-k"}, kWineEnvironment);
    waitpid(stopper, nullptr, 0);
    Stop(wineserver_, SIGTERM);
  }
}

// With KELDRA_ONE_CPU set (bench/front_ends), the program and Wine's server run on the first
// CPU: each request to the server is then a switch on one CPU, not a wake-up of another, which
// under a virtual machine costs several times the request itself.
std::vector<std::string> OnOneCpu(std::vector<std::string> argv) {
  if (std::getenv("KELDRA_ONE_CPU") != nullptr) {
    argv.insert(argv.begin(), {"taskset", "-c", "0"});
  }
  return argv;
}

void RealProgram::Start() {
  char start[32];
  std::snprintf(start, sizeof start, "@%04d-%02d-%02d %02d:%02d:%02d", setup_.local.year,
                setup_.local.month, setup_.local.day, setup_.local.hour, setup_.local.minute,
                setup_.local.second);
  std::vector<std::string> argv = {executable_.string()};
  argv.insert(argv.end(), arguments_.begin(), arguments_.end());
  // libfaketime preloaded into the program itself (its wrapper would stand between the test and
  // the process it kills); the clock starts at the contest morning and runs.
  std::map<std::string, std::string> env = {
      {"DISPLAY", x_.Display()},
      {"TZ", "Europe/Rome"},
      {"QT_QPA_PLATFORM", "xcb"},
      {"LD_PRELOAD", FakeTimeLibrary()},
      {"FAKETIME", start},
      {"FAKETIME_DONT_FAKE_MONOTONIC", "1"},
      // faketime's library comes before the sanitizer's in a sanitizer build.
      {"ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0"}};
  env.insert(setup_.environment.begin(), setup_.environment.end());
  if (windows_) {
    env.insert(kWineEnvironment.begin(), kWineEnvironment.end());
    // Wine's server is started once, on the same clock; `wine` execs into the Windows process
    // itself, so the pid is keldra.exe's and a SIGKILL is a kill of the Windows program.
    if (wineserver_ <= 0 && shared_wineserver <= 0) {
      // A server still up from a Windows program run without a display (the --adif test) would
      // keep its display-less desktop, and the program's windows would never reach the X server.
      const pid_t stopper = Spawn({"wineserver", "-k"}, kWineEnvironment);
      waitpid(stopper, nullptr, 0);
      wineserver_ = Spawn(OnOneCpu({"wineserver", "--foreground", "--persistent"}), env, LogPath());
      shared_wineserver = wineserver_;
    }
    argv.insert(argv.begin(), "wine");
  }
  pid_ = Spawn(OnOneCpu(argv), env, LogPath());
}

std::string RealProgram::LogPath() const {
  return (folder_.parent_path() / (folder_.filename().string() + ".log")).string();
}

std::string RealProgram::Output() const {
  std::string output = testing::ReadBytes(LogPath());
  // A program still running when a test gives up on it: where its threads are, for a hang.
  if (!windows_ && pid_ > 0 && kill(pid_, 0) == 0 && std::filesystem::exists("/usr/bin/gdb")) {
    const std::string command =
        "/usr/bin/gdb -p " + std::to_string(pid_) +
        " -batch -ex 'thread apply all bt' 2>/dev/null | grep '^#\\|^Thread'";
    if (FILE* gdb = popen(command.c_str(), "r")) {
      output += "\nthe program's threads:\n";
      char line[512];
      while (std::fgets(line, sizeof line, gdb) != nullptr) {
        output += line;
      }
      pclose(gdb);
    }
  }
  return output;
}

void RealProgram::Kill() { Stop(pid_, SIGKILL); }

bool RealProgram::Running() {
  if (pid_ <= 0) {
    return false;
  }
  if (waitpid(pid_, &status_, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
}

int RealProgram::WaitForExit(int seconds) {
  for (int i = 0; i < seconds * 20 && Running(); ++i) {
    std::this_thread::sleep_for(50ms);
  }
  if (Running()) {
    return -1;
  }
  return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

std::string XOperator::WaitForWindow(const std::string& title, int seconds) const {
  const std::string quoted = RegexQuoted(Cp1252ToUtf8(title));
  for (int i = 0; i < seconds * 20; ++i) {
    std::istringstream found(x_.Run("xdotool search --onlyvisible --name '" + quoted + "'"));
    std::string id;
    std::string last;
    while (found >> id) {
      last = id;
    }
    if (!last.empty()) {
      return last;
    }
    std::this_thread::sleep_for(50ms);
  }
  return {};
}

XOperator::Prepared XOperator::Prepare(const Step& step) {
  Prepared prepared{step, {}, 0, 0};
  if (step.kind == Step::Kind::kKillAndRestart) {
    return prepared;
  }
  prepared.title = layout_.Window(step.window).Caption();
  if (step.kind == Step::Kind::kClick || step.kind == Step::Kind::kChoose) {
    const Control& control = layout_.ControlOf(step.window, step.control);
    const auto [left, top, width, height] = PixelRect(control);
    // A box at its right end (the caret lands after the text), a tick box on its square.
    if (const auto* box = dynamic_cast<const TextBox*>(&control)) {
      // A multi-line box keeps its scroll bar at the right on Windows, and a click there leaves
      // the focus where it was: it is clicked left of it.
      prepared.x = left + width - (box->MultiLine() ? 28 : 4);
    } else if (dynamic_cast<const CheckBox*>(&control) != nullptr) {
      prepared.x = left + 8;
    } else {
      prepared.x = left + width / 2;
    }
    prepared.y = top + height / 2;
  }
  if (step.kind == Step::Kind::kChoose) {
    prepared.item = ItemOf(
        dynamic_cast<const ListControl&>(layout_.ControlOf(step.window, step.control)), step.keys);
  }
  return prepared;
}

std::string XOperator::Activate(const std::string& title) {
  // Wine's first start of a run starts its own helper processes too: up to a minute when loaded.
  std::string window = WaitForWindow(title, WindowsProgram().empty() ? 10 : 60);
  if (window.empty()) {
    x_.Screenshot("e2e_failure");
    throw std::runtime_error("no window titled " + Cp1252ToUtf8(title) + " (see e2e_failure.png)");
  }
  const std::string before = x_.Run("xdotool getactivewindow");
  x_.Run("xdotool windowactivate --sync " + window);
  // Wine makes the window Windows' foreground window only after the window manager has focused
  // it, and drops the keys that come before: a newly activated window is given that moment.
  if (!WindowsProgram().empty() && before != window + "\n") {
    std::this_thread::sleep_for(300ms);
  }
  return window;
}

void XOperator::Play(const Prepared& prepared, const std::vector<std::string>& messages) {
  const Step& step = prepared.step;
  switch (step.kind) {
    case Step::Kind::kKeys:
      Activate(prepared.title);
      TypeKeys(step.keys);
      break;
    case Step::Kind::kPaste:
      Activate(prepared.title);
      if (!step.keys.empty()) {
        x_.Run("sh -c \"printf '%s' '" + step.keys +
               "' | xclip -selection clipboard >/dev/null 2>&1\"");
      }
      // Twice from an empty clipboard; once when it holds text, so the text lands once.
      x_.Run(step.keys.empty() ? "xdotool key --delay 50 ctrl+v shift+Insert"
                               : "xdotool key ctrl+v");
      break;
    case Step::Kind::kClick: {
      const std::string window = Activate(prepared.title);
      x_.Run("xdotool mousemove --window " + window + " " + std::to_string(prepared.x) + " " +
             std::to_string(prepared.y) + " click 1");
      break;
    }
    case Step::Kind::kChoose: {
      const std::string window = Activate(prepared.title);
      x_.Run("xdotool mousemove --window " + window + " " + std::to_string(prepared.x) + " " +
             std::to_string(prepared.y) + " click 1");
      // The list opens under the pointer and takes the keys.
      std::this_thread::sleep_for(300ms);
      std::string keys = "xdotool key --delay 40 Home";
      for (int i = 0; i < prepared.item; ++i) {
        keys += " Down";
      }
      x_.Run(keys + " Return");
      break;
    }
    case Step::Kind::kKillAndRestart:
      real_.Kill();
      real_.Start();
      break;
  }
  // Each message box is modal and takes the keyboard: the operator reads it and presses Enter.
  for (const std::string& title : messages) {
    const std::string quoted = Cp1252ToUtf8(title);
    bool closed = false;
    for (int i = 0; i < 200 && !closed; ++i) {
      std::string active = x_.Run("xdotool getactivewindow getwindowname");
      while (!active.empty() && active.back() == '\n') {
        active.pop_back();
      }
      if (active == quoted) {
        x_.Run("xdotool key Return");
        closed = true;
      } else {
        std::this_thread::sleep_for(50ms);
      }
    }
    if (!closed) {
      x_.Screenshot("e2e_failure");
      throw std::runtime_error("no message box titled " + quoted + " (see e2e_failure.png)");
    }
    std::this_thread::sleep_for(150ms);
  }
}

std::vector<std::string> ItalianKeys(const std::string& utf8) {
  static const std::map<std::string, std::string> kNamed = {
      {"\n", "Return"},      {"\b", "BackSpace"},
      {"\x01", "Up"},        {"\x02", "Down"},
      {"\x03", "F12"},       {" ", "space"},
      {"/", "shift+7"},      {":", "shift+period"},
      {".", "period"},       {",", "comma"},
      {";", "shift+comma"},  {"-", "minus"},
      {"_", "shift+minus"},  {"'", "apostrophe"},
      {"+", "plus"},         {"@", "ISO_Level3_Shift+ograve"},
      {"à", "agrave"},       {"è", "egrave"},
      {"é", "shift+egrave"}, {"ì", "igrave"},
      {"ò", "ograve"},       {"ù", "ugrave"},
      {"\x04", "F1"},        {"\x05", "ctrl+a"},
      {"\x06", "Prior"},     {"\x07", "Next"},
      {"\x1b", "Escape"}};
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const std::string c = utf8.substr(i, length);
    i += length;
    if (const auto it = kNamed.find(c); it != kNamed.end()) {
      keys.push_back(it->second);
    } else if (c[0] >= 'A' && c[0] <= 'Z') {
      keys.push_back("shift+" + std::string(1, static_cast<char>(c[0] - 'A' + 'a')));
    } else if ((c[0] >= 'a' && c[0] <= 'z') || (c[0] >= '0' && c[0] <= '9')) {
      keys.push_back(c);
    } else {
      throw std::runtime_error("no key for " + c);
    }
  }
  return keys;
}

void XOperator::TypeKeys(const std::string& keys) const {
  const std::vector<std::string> names = ItalianKeys(keys);
  for (std::size_t i = 0; i < names.size(); i += 40) {
    std::string command = "xdotool key --delay 12";
    for (std::size_t j = i; j < std::min(names.size(), i + 40); ++j) {
      command += " " + names[j];
    }
    x_.Run(command);
  }
}

void PlayBoth(const std::vector<Step>& steps, ModelOperator& model, XOperator& real,
              const fs::path& model_folder, const fs::path& real_folder) {
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    const std::string what = "step " + std::to_string(i) + " (" + step.window + " " + step.control +
                             " " + step.keys + ")";
    try {
      const XOperator::Prepared prepared = real.Prepare(step);
      const std::vector<std::string> messages = model.Play(step);
      real.Play(prepared, messages);
    } catch (const std::exception& e) {
      FAIL() << e.what() << " at " << what;
    }
    const auto expected = FolderFiles(model_folder);
    auto actual = FolderFiles(real_folder);
    for (int wait = 0; wait < 200 && actual != expected; ++wait) {
      std::this_thread::sleep_for(50ms);
      actual = FolderFiles(real_folder);
    }
    if (actual != expected) {
      for (const auto& [name, bytes] : expected) {
        const std::string& got = actual[name];
        if (got == bytes) {
          continue;
        }
        const auto at = static_cast<std::size_t>(
            std::mismatch(got.begin(), got.end(), bytes.begin(), bytes.end()).first - got.begin());
        ADD_FAILURE() << name << " differs after " << what << " at byte " << at << ": real \""
                      << got.substr(at, 80) << "\", model \"" << bytes.substr(at, 80) << "\"";
      }
      for (const auto& [name, bytes] : actual) {
        EXPECT_TRUE(expected.count(name)) << "unexpected " << name << " after " << what;
      }
      return;
    }
    if (!step.shot.empty()) {
      std::this_thread::sleep_for(300ms);
      real.Screenshot(step.shot);
    }
  }
}

BothRuns::BothRuns(const XSession& x, const StartState& setup)
    : model_folder(model_root.path()),
      real_folder(real_root.path() / "contest"),
      model(setup, model_folder),
      real(x, real_folder, setup),
      op(x, real, model) {
  real.Start();
}

void BothRuns::Play(const std::vector<Step>& steps) {
  PlayBoth(steps, model, op, model_folder, real_folder);
}

}  // namespace keldra::e2e
