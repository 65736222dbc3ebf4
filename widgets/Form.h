// A window of the program as a plain object: a caption, a size in twips, its controls in the
// order it declares them (which is also the default tab order), and the events Load, Activate
// and Unload. Windows derive from Form, declare their controls as members and wire their
// handlers in the constructor.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "widgets/Control.h"

namespace keldra {

class Screen;

struct FormPosition {
  int left = 0;
  int top = 0;
  friend bool operator==(const FormPosition&, const FormPosition&) = default;
};

class Form {
 public:
  Form(Screen& screen, std::string name, std::string caption, int width, int height);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Screen& Desktop() const { return screen_; }
  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Resize(int width, int height);
  // A resizable window can be made larger by the operator, never smaller than `minimum` (twips).
  bool Resizable() const { return resizable_; }
  int MinimumWidth() const { return minimum_width_; }
  int MinimumHeight() const { return minimum_height_; }
  void SetResizable(int minimum_width, int minimum_height);
  // The operator resized the window (the front end reports it): the size is kept and OnResize
  // lays the controls out again.
  void UserResize(int width, int height);
  // Where the window stands on the desktop (its frame's top-left corner, twips from the desktop's):
  // the front end reports every move by the operator, and puts a window that has a position there
  // when it first draws it (else the window system chooses). A window keeps it between starts by
  // MoveTo before it is shown.
  const std::optional<FormPosition>& Position() const { return position_; }
  void MoveTo(FormPosition position) { position_ = position; }

  const std::vector<Control*>& Controls() const { return controls_; }
  Control* Find(std::string_view name) const;
  // The order Tab follows: the declaration order unless the window sets one.
  const std::vector<Control*>& TabOrder() const;
  void SetTabOrder(std::vector<Control*> order) { tab_order_ = std::move(order); }

  bool Visible() const { return visible_; }
  bool Loaded() const { return loaded_; }

  // Runs Load once; Program calls it right after creating the window.
  void RunLoad();
  // Shows the window and makes it the active one (running Activate when it was not active).
  void Show();
  void Hide();
  // Runs the Unload event, then closes the window for good; the next access creates a new one.
  void Unload();
  // The operator closed the window with its title bar.
  virtual void CloseRequested() { Unload(); }

  // Called by the Screen when the window becomes the active one.
  void RunActivate() { OnActivate(); }

  // Called by every control of the window when it is constructed.
  void Register(Control& control) { controls_.push_back(&control); }

 protected:
  virtual void OnLoad() {}
  virtual void OnActivate() {}
  virtual void OnUnload() {}
  virtual void OnResize() {}

 private:
  Screen& screen_;
  std::string name_;
  std::string caption_;
  int width_;
  int height_;
  std::vector<Control*> controls_;
  std::vector<Control*> tab_order_;
  bool visible_ = false;
  bool resizable_ = false;
  int minimum_width_ = 0;
  int minimum_height_ = 0;
  std::optional<FormPosition> position_;
  bool loaded_ = true;
  bool load_ran_ = false;
};

}  // namespace keldra
