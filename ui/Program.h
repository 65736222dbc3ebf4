// The registry of the program's windows and services. Each window exists once: it is created on
// first access (running its Load), and a window that was unloaded is created afresh on the next
// access. Program also owns the running contest (ContestLog), the path calculator, the focus owner
// (Screen), the services (message boxes, clock, files) and the program folder, and closes every
// window in a fixed order when the program ends.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "core/ContestLog.h"
#include "data/CallHistory.h"
#include "radio/DeviceThread.h"
#include "radio/Keyer.h"
#include "radio/Radio.h"
#include "radio/Voice.h"
#include "system/Background.h"
#include "system/Clock.h"
#include "system/CodePage.h"
#include "system/Files.h"
#include "ui/Calculator.h"
#include "widgets/Drawing.h"
#include "widgets/Form.h"
#include "widgets/MessageBox.h"
#include "widgets/Screen.h"

namespace keldra {

class Program {
 public:
  // `files` may be null: the real file system is used. Tests pass their own services and a
  // temporary folder.
  Program(MessageBox& messages, Clock& clock, std::filesystem::path folder, Files* files = nullptr);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Screen& Desktop() { return screen_; }
  Clock& Time() { return clock_; }
  Files& Disk() { return *files_; }
  const std::filesystem::path& Folder() const { return folder_; }
  // A file of the program folder, by name.
  std::filesystem::path File(std::string_view name) const { return folder_ / std::string(name); }

  // Work away from the user-interface thread (reading the call history); it runs at once unless
  // the front end gives its own.
  Background& Tasks() { return *background_; }
  void SetBackground(Background& background) { background_ = &background; }
  // Paints drawings into images (the map's "Salva immagine"); the front end gives it, and without
  // one nothing can be painted.
  DrawingPainter* Painter() const { return painter_; }
  void SetPainter(DrawingPainter* painter) { painter_ = painter; }
  // The rig and the rotator; none unless the front end gives its own.
  Radio& Devices() { return *radio_; }
  void SetDevices(Radio& radio) { radio_ = &radio; }
  // Runs a job on the user-interface thread later: how network threads (the chat) hand back
  // what they read. The front end gives it; without one (the model tests give their own) the
  // chat cannot connect.
  const PostToUi& Post() const { return post_; }
  void SetPost(PostToUi post) { post_ = std::move(post); }
  // The voice messages' player (sound card and PTT); none unless the front end gives one.
  VoicePlayer* Voice() const { return voice_; }
  void SetVoice(VoicePlayer* voice) { voice_ = voice; }
  // The ways of keying CW; the rig's keyer only unless the front end gives its own.
  KeyerDrivers& Keyers() { return *keyers_; }
  void SetKeyers(KeyerDrivers& keyers) { keyers_ = &keyers; }
  // The call history: filled by the main window (files, running contest), read by the edit window.
  StationHistory& History() { return history_; }
  // The running contest: the windows show it and change it through its operations.
  ContestLog& Contest() { return contest_; }
  // Distances and bearings from the station's own locator.
  PathCalculator& Calculator() { return calculator_; }

  // Shows a message box; `text` and `title` are Windows-1252 (use Cp1252 for literals with
  // accents).
  void Message(const std::string& text, MessageIcon icon = MessageIcon::kInformation,
               const std::string& title = kDefaultTitle);

  // The window of type F, created (and loaded) on first access.
  template <class F>
  F& Get() {
    if (auto it = live_.find(typeid(F)); it != live_.end()) {
      return static_cast<F&>(*it->second);
    }
    auto created = std::make_unique<F>(*this);
    F& form = *created;
    live_[typeid(F)] = created.get();
    all_.push_back(std::move(created));
    form.RunLoad();
    return form;
  }

  // The window of type F if it is loaded now, else null; never creates it.
  template <class F>
  F* Find() {
    auto it = live_.find(typeid(F));
    return it == live_.end() ? nullptr : static_cast<F*>(it->second);
  }

  // Creates the main window, which decides at Load what the operator sees first.
  void Start();
  // Closes every loaded window in the program's closing order, the main window last, and ends
  // the program.
  void End();
  bool Ended() const { return ended_; }
  // The front end quits its event loop here.
  std::function<void()> OnEnd;

 private:
  void Forget(Form& form);
  template <class... F>
  void UnloadIfLoaded() {
    (
        [this] {
          if (F* form = Find<F>()) {
            form->Unload();
          }
        }(),
        ...);
  }

  Screen screen_;
  MessageBox& messages_;
  Clock& clock_;
  std::unique_ptr<Files> own_files_;
  Files* files_;
  std::filesystem::path folder_;
  std::map<std::type_index, Form*> live_;
  // Unloaded windows stay allocated until the end: a handler may still be running in them.
  std::vector<std::unique_ptr<Form>> all_;
  bool ended_ = false;
  InlineBackground inline_background_;
  Background* background_ = &inline_background_;
  StationHistory history_;
  ContestLog contest_;
  PathCalculator calculator_;
  DrawingPainter* painter_ = nullptr;
  PostToUi post_;
  NoRadio no_radio_;
  Radio* radio_ = &no_radio_;
  VoicePlayer* voice_ = nullptr;
  KeyerDrivers rig_keyer_only_;
  KeyerDrivers* keyers_ = &rig_keyer_only_;
};

}  // namespace keldra
