#include "widgets/Form.h"

#include <algorithm>

#include "widgets/Screen.h"

namespace keldra {

Form::Form(Screen& screen, std::string name, std::string caption, int width, int height)
    : screen_(screen),
      name_(std::move(name)),
      caption_(std::move(caption)),
      width_(width),
      height_(height) {}

Form::~Form() = default;

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  screen_.FormCaptionChanged(*this);
}

void Form::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  screen_.FormCaptionChanged(*this);
}

void Form::SetResizable(int minimum_width, int minimum_height) {
  resizable_ = true;
  minimum_width_ = minimum_width;
  minimum_height_ = minimum_height;
}

void Form::UserResize(int width, int height) {
  if (!resizable_) {
    return;
  }
  width = std::max(width, minimum_width_);
  height = std::max(height, minimum_height_);
  if (width == width_ && height == height_) {
    return;
  }
  width_ = width;
  height_ = height;
  OnResize();
}

Control* Form::Find(std::string_view name) const {
  for (Control* c : controls_) {
    if (c->Name() == name) {
      return c;
    }
  }
  return nullptr;
}

const std::vector<Control*>& Form::TabOrder() const {
  return tab_order_.empty() ? controls_ : tab_order_;
}

void Form::RunLoad() {
  if (load_ran_) {
    return;
  }
  load_ran_ = true;
  OnLoad();
}

void Form::Show() {
  if (!loaded_) {
    return;
  }
  visible_ = true;
  screen_.FormShown(*this);
}

void Form::Hide() {
  if (!visible_) {
    return;
  }
  visible_ = false;
  screen_.FormHidden(*this);
}

void Form::Unload() {
  if (!loaded_) {
    return;
  }
  OnUnload();
  visible_ = false;
  loaded_ = false;
  screen_.FormUnloaded(*this);
}

}  // namespace keldra
