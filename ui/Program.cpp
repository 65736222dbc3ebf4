#include "ui/Program.h"

#include <algorithm>

#include "ui/MainWindow.h"

namespace keldra {

Program::Program(MessageBox& messages, Clock& clock, std::filesystem::path folder, Files* files)
    : messages_(messages), clock_(clock), files_(files), folder_(std::move(folder)) {
  if (files_ == nullptr) {
    own_files_ = std::make_unique<Files>();
    files_ = own_files_.get();
  }
  screen_.OnFormUnloaded = [this](Form& form) { Forget(form); };
}

Program::~Program() { screen_.SetObserver(nullptr); }

void Program::Message(const std::string& text, MessageIcon icon, const std::string& title) {
  messages_.Show(text, title, icon);
}

void Program::Start() { Get<MainWindow>(); }

void Program::Forget(Form& form) {
  for (auto it = live_.begin(); it != live_.end(); ++it) {
    if (it->second == &form) {
      live_.erase(it);
      return;
    }
  }
}

void Program::End() {
  if (ended_) {
    return;
  }
  ended_ = true;
  static constexpr const char* kClosingOrder[] = {
      "Form22222", "Form2", "Form3", "Form4",  "AdifSaveWindow", "Form5",  "Form6",
      "Form7",     "Form8", "Form9", "Form10", "Form11",         "Form12", "Form1"};
  for (const char* name : kClosingOrder) {
    auto it = std::find_if(live_.begin(), live_.end(),
                           [&](const auto& entry) { return entry.second->Name() == name; });
    if (it != live_.end()) {
      it->second->Unload();
    }
  }
  // Windows outside the list (none today) close last.
  while (!live_.empty()) {
    live_.begin()->second->Unload();
  }
  if (OnEnd) {
    OnEnd();
  }
}

}  // namespace keldra
