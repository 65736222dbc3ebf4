// The Qt 6 front end: draws any Form as a real top-level window, each control as a widget at its
// twips geometry, and binds them both ways. Keys go first to the model's KeyDown; a key a handler
// consumed never reaches the widget. Otherwise the widget edits natively and its new text reaches
// the model through SetText, so change handlers run exactly as when code writes the text. Focus,
// clicks, ticks and choices travel the same way. There is no contest logic here.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "widgets/Form.h"
#include "widgets/FrontEnd.h"
#include "widgets/FrontEndRules.h"
#include "widgets/MessageBox.h"
#include "widgets/Screen.h"

class QPlainTextEdit;

namespace keldra {
class TextBox;
}

namespace keldra::qt {

class QtFrontEnd : public QObject, public FrontEnd {
  Q_OBJECT

 public:
  explicit QtFrontEnd(Screen& screen);
  ~QtFrontEnd() override;

  // The drawn window of a form, or null while it has never been shown.
  QWidget* WindowOf(const Form& form) const;
  // The widget that draws a control, or null.
  QWidget* WidgetOf(const Control& control) const;
  // Brings deferred redraws (long lists) up to date at once; tests call it before looking.
  void Flush() override;

  // ScreenObserver.
  void ControlChanged(Control& control, Property property) override;
  void FormShown(Form& form) override;
  void FormHidden(Form& form) override;
  void FormUnloaded(Form& form) override;
  void FormCaptionChanged(Form& form) override;
  void FocusChanged(Control* control) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Window;
  Window* Build(Form& form);
  QWidget* CreateWidget(Control& control, QWidget* parent);
  void Bind(Control& control, QWidget* widget);
  void Sync(Control& control, QWidget* widget, Property property);
  void SyncText(Control& control, QWidget* widget);
  void SyncAll(Control& control, QWidget* widget);
  // Adds the tail a multi-line box grew by since it was drawn (all of it when it shrank).
  void AppendPending(const TextBox& box, QPlainTextEdit& edit);
  // A fixed-size window, or a resizable one at the form's size and never below its minimum.
  void SetWindowSize(const Form& form, QWidget& top);
  // A window with a position of its own stands there, when a screen still shows that place.
  static void PlaceWindow(const Form& form, QWidget& top);
  // The operator moved a window (the frame's corner): the form keeps where.
  static void WindowMoved(Form& form, const QWidget& top);
  bool HandleKey(Control& control, QWidget* widget, QEvent* event);

  Screen& screen_;
  std::map<const Form*, std::unique_ptr<Window>> windows_;
  std::map<const QObject*, Control*> control_of_;
  std::map<const QObject*, Form*> form_of_window_;
  std::map<const Control*, QPointer<QWidget>> widget_of_;
  // Multi-line boxes whose text grew since they were last drawn, and how much of it is drawn.
  ListAppends appends_;
  // True while the front end writes a widget from the model, so that the widget's own change
  // signals are not sent back.
  int syncing_ = 0;
};

// Message boxes as QMessageBox, modal over the active window.
class QtMessageBox : public MessageBox {
 public:
  void Show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

}  // namespace keldra::qt
