#include "qt/QtFrontEnd.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>

#include "qt/DrawingWidget.h"
#include "qt/KeyCodes.h"
#include "qt/Widgets.h"
#include "system/CodePage.h"
#include "widgets/Buttons.h"
#include "widgets/Drawing.h"
#include "widgets/Graphics.h"
#include "widgets/Label.h"
#include "widgets/Lists.h"
#include "widgets/TextBox.h"

namespace keldra::qt {
namespace {

QString ToQt(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }
std::string FromQt(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

// The model keeps CR LF line ends; the widgets show plain line feeds.
QString ToQtLines(std::string_view cp1252) {
  QString text = ToQt(cp1252);
  text.replace("\r\n", "\n");
  return text;
}
std::string FromQtLines(const QString& text) {
  std::string out;
  const std::string bytes = FromQt(text);
  out.reserve(bytes.size() + bytes.size() / 16);
  for (char c : bytes) {
    if (c == '\n') {
      out.push_back('\r');
    }
    out.push_back(c);
  }
  return out;
}
// Caret positions across the two line-end conventions.
int ModelToWidgetCaret(std::string_view text, int caret) {
  int crlf = 0;
  for (int i = 0; i + 1 < caret && i + 1 < static_cast<int>(text.size()); ++i) {
    if (text[static_cast<std::size_t>(i)] == '\r' &&
        text[static_cast<std::size_t>(i) + 1] == '\n') {
      ++crlf;
    }
  }
  return caret - crlf;
}
int WidgetToModelCaret(std::string_view text, int caret) {
  int position = 0;
  int seen = 0;
  while (position < static_cast<int>(text.size()) && seen < caret) {
    if (text[static_cast<std::size_t>(position)] == '\r' &&
        position + 1 < static_cast<int>(text.size()) &&
        text[static_cast<std::size_t>(position) + 1] == '\n') {
      ++position;
    }
    ++position;
    ++seen;
  }
  return position;
}

QString ButtonCaption(const std::string& caption) {
  QString text = ToQt(caption);
  text.replace("&", "&&");
  return text;
}

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

QFont FontFor(const FontHints& hints) {
  QFont font = hints.fixed_pitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                 : QApplication::font();
  if (hints.fixed_pitch) {
    font.setFamilies({"DejaVu Sans Mono", "Liberation Mono", "Monospace"});
  }
  font.setBold(hints.bold);
  if (hints.points > 0) {
    font.setPointSize(hints.points);
  } else if (hints.fixed_pitch) {
    font.setPointSize(QApplication::font().pointSize());
  }
  return font;
}

Qt::Alignment AlignmentFor(Alignment a) {
  switch (a) {
    case Alignment::kCenter:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::kRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::kLeft:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

struct QtFrontEnd::Window {
  QPointer<FormWindow> top;
};

QtFrontEnd::QtFrontEnd(Screen& screen) : screen_(screen) { screen_.SetObserver(this); }

QtFrontEnd::~QtFrontEnd() {
  if (screen_.Observer() == this) {
    screen_.SetObserver(nullptr);
  }
  for (auto& [form, window] : windows_) {
    delete window->top.data();
  }
}

QWidget* QtFrontEnd::WindowOf(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second->top.data();
}

QWidget* QtFrontEnd::WidgetOf(const Control& control) const {
  auto it = widget_of_.find(&control);
  return it == widget_of_.end() ? nullptr : it->second.data();
}

QtFrontEnd::Window* QtFrontEnd::Build(Form& form) {
  if (auto it = windows_.find(&form); it != windows_.end()) {
    return it->second.get();
  }
  auto window = std::make_unique<Window>();
  auto* top = new FormWindow([&form] { form.CloseRequested(); });
  window->top = top;
  top->setWindowTitle(ToQt(form.Caption()));
  SetWindowSize(form, *top);
  PlaceWindow(form, *top);
  top->installEventFilter(this);
  form_of_window_[top] = &form;

  // Widgets first on the window, then moved into their frames and picture boxes, so the order in
  // which a window declares its controls does not matter.
  std::map<const Control*, QWidget*> created;
  for (Control* control : form.Controls()) {
    if (control->Kind() == ControlKind::kLine) {
      continue;
    }
    created[control] = CreateWidget(*control, top);
  }
  for (Control* control : form.Controls()) {
    if (control->Kind() == ControlKind::kLine) {
      continue;
    }
    if (Control* box = control->Container(); box != nullptr && created.count(box)) {
      created[control]->setParent(created[box]);
    }
  }
  for (Control* control : form.Controls()) {
    if (control->Kind() != ControlKind::kLine) {
      continue;
    }
    QWidget* parent = top;
    if (Control* box = control->Container(); box != nullptr && created.count(box)) {
      parent = created[box];
    }
    auto* line = new LineWidget(static_cast<Line&>(*control), parent);
    created[control] = line;
  }
  for (Control* control : form.Controls()) {
    QWidget* widget = created[control];
    Bind(*control, widget);
    SyncAll(*control, widget);
  }
  // Lines are drawn over everything else in their container.
  for (Control* control : form.Controls()) {
    if (control->Kind() != ControlKind::kLine) {
      continue;
    }
    if (QWidget* parent = created[control]->parentWidget()) {
      created[control]->setGeometry(parent->rect());
    }
    created[control]->raise();
  }
  Window* raw = window.get();
  windows_[&form] = std::move(window);
  return raw;
}

QWidget* QtFrontEnd::CreateWidget(Control& control, QWidget* parent) {
  switch (control.Kind()) {
    case ControlKind::kTextBox: {
      auto& box = static_cast<TextBox&>(control);
      if (box.MultiLine()) {
        auto* edit = new PlainTextBox(parent);
        edit->setLineWrapMode(box.WordWrap() ? QPlainTextEdit::WidgetWidth
                                             : QPlainTextEdit::NoWrap);
        edit->setTabChangesFocus(true);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, &box] {
          if (syncing_ > 0) {
            return;
          }
          const std::string text = FromQtLines(edit->toPlainText());
          appends_.Shown(box, text.size());
          box.UserEdit(text, WidgetToModelCaret(text, edit->textCursor().position()));
        });
        return edit;
      }
      auto* edit = new QLineEdit(parent);
      if (box.Password()) {
        edit->setEchoMode(QLineEdit::Password);
      }
      connect(edit, &QLineEdit::textEdited, this, [this, edit, &box](const QString& text) {
        if (syncing_ > 0) {
          return;
        }
        box.UserEdit(FromQt(text), edit->cursorPosition());
      });
      return edit;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      return label;
    }
    case ControlKind::kCommandButton: {
      auto& model = static_cast<CommandButton&>(control);
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [&model] { model.Press(); });
      return button;
    }
    case ControlKind::kCheckBox: {
      auto& model = static_cast<CheckBox&>(control);
      auto* check = new QCheckBox(parent);
      connect(check, &QCheckBox::clicked, this, [this, &model](bool checked) {
        if (syncing_ == 0) {
          model.SetValue(checked ? 1 : 0);
        }
      });
      return check;
    }
    case ControlKind::kComboBox: {
      auto& model = static_cast<ComboBox&>(control);
      auto* combo = new QComboBox(parent);
      connect(combo, &QComboBox::activated, this,
              [&model](int index) { model.SetListIndex(index); });
      return combo;
    }
    case ControlKind::kListBox: {
      auto& model = static_cast<ListBox&>(control);
      auto* list = new QListWidget(parent);
      connect(list, &QListWidget::currentRowChanged, this, [this, &model](int row) {
        if (syncing_ == 0) {
          model.SetListIndex(row);
        }
      });
      connect(list, &QListWidget::itemDoubleClicked, this, [list, &model](QListWidgetItem* item) {
        model.SetListIndex(list->row(item));
        if (model.DblClick) {
          model.DblClick();
        }
      });
      return list;
    }
    case ControlKind::kFrame:
      return new QGroupBox(parent);
    case ControlKind::kPictureBox: {
      auto& picture = static_cast<PictureBox&>(control);
      return new ArtWidget(picture.Art(), picture.Border(), parent);
    }
    case ControlKind::kImage:
      return new ArtWidget(static_cast<Image&>(control).Art(), false, parent);
    case ControlKind::kDrawing:
      return new DrawingWidget(static_cast<Drawing&>(control), parent);
    case ControlKind::kLine:
      break;
  }
  return new QWidget(parent);
}

void QtFrontEnd::Bind(Control& control, QWidget* widget) {
  control_of_[widget] = &control;
  widget_of_[&control] = widget;
  widget->installEventFilter(this);
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    control_of_[edit->viewport()] = &control;
    edit->viewport()->installEventFilter(this);
  }
  if (control.CanFocus()) {
    widget->setFocusPolicy(Qt::StrongFocus);
  } else {
    widget->setFocusPolicy(Qt::NoFocus);
  }
}

void QtFrontEnd::SyncAll(Control& control, QWidget* widget) {
  for (const Property p : kRefreshOrder) {
    Sync(control, widget, p);
  }
}

void QtFrontEnd::ControlChanged(Control& control, Property property) {
  QWidget* widget = WidgetOf(control);
  if (widget == nullptr) {
    return;
  }
  Sync(control, widget, property);
}

void QtFrontEnd::Sync(Control& control, QWidget* widget, Property property) {
  ++syncing_;
  switch (property) {
    case Property::kGeometry:
      if (control.Kind() == ControlKind::kLine) {
        if (QWidget* parent = widget->parentWidget()) {
          widget->setGeometry(parent->rect());
        }
      } else {
        widget->setGeometry(control.Left() / kTwipsPerPixel, control.Top() / kTwipsPerPixel,
                            std::max(1, control.Width() / kTwipsPerPixel),
                            std::max(1, control.Height() / kTwipsPerPixel));
      }
      break;
    case Property::kVisible:
      widget->setVisible(control.Visible());
      break;
    case Property::kEnabled:
      widget->setEnabled(control.Enabled());
      break;
    case Property::kToolTip:
      widget->setToolTip(ToQt(control.ToolTip()));
      break;
    case Property::kFont:
      if (control.Kind() != ControlKind::kLine) {
        widget->setFont(FontFor(control.Font()));
      }
      break;
    case Property::kColors: {
      QPalette palette = widget->palette();
      const QColor fore = ToQColor(control.ForeColor());
      palette.setColor(QPalette::WindowText, fore);
      palette.setColor(QPalette::Text, fore);
      if (control.Kind() == ControlKind::kTextBox) {
        palette.setColor(QPalette::Base, ToQColor(control.BackColor()));
      }
      widget->setPalette(palette);
      widget->update();
      break;
    }
    case Property::kLocked:
      if (control.Kind() == ControlKind::kTextBox) {
        const bool locked = static_cast<TextBox&>(control).Locked();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
          edit->setReadOnly(locked);
        }
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
          edit->setReadOnly(locked);
        }
      }
      break;
    case Property::kText:
    case Property::kCaret:
      SyncText(control, widget);
      break;
    case Property::kTextAppended:
      if (appends_.Grew(control)) {
        QTimer::singleShot(0, this, [this] { Flush(); });
      }
      break;
    case Property::kItems:
    case Property::kListIndex:
      if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        auto& list = static_cast<ListControl&>(control);
        if (property == Property::kItems) {
          combo->clear();
          for (const auto& item : list.Items()) {
            combo->addItem(ToQt(item));
          }
        }
        combo->setCurrentIndex(list.ListIndex());
      } else if (auto* box = qobject_cast<QListWidget*>(widget)) {
        auto& list = static_cast<ListControl&>(control);
        if (property == Property::kItems) {
          box->clear();
          for (const auto& item : list.Items()) {
            box->addItem(ToQt(item));
          }
        }
        box->setCurrentRow(list.ListIndex());
      }
      break;
    case Property::kValue:
      if (auto* check = qobject_cast<QCheckBox*>(widget)) {
        check->setChecked(static_cast<CheckBox&>(control).Value() != 0);
      }
      break;
    case Property::kLinePoints:
    case Property::kLayers:
    case Property::kView:
      widget->update();
      break;
  }
  --syncing_;
}

void QtFrontEnd::SyncText(Control& control, QWidget* widget) {
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    auto& box = static_cast<TextBox&>(control);
    const QString text = ToQt(box.Text());
    if (edit->text() != text) {
      edit->setText(text);
    }
    edit->setAlignment(AlignmentFor(box.Align()));
    if (box.SelLength() > 0) {
      if (edit->selectionStart() != box.SelStart() || edit->selectionLength() != box.SelLength()) {
        edit->setSelection(box.SelStart(), box.SelLength());
      }
    } else if (edit->cursorPosition() != box.SelStart()) {
      edit->setCursorPosition(box.SelStart());
    }
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    auto& box = static_cast<TextBox&>(control);
    if (appends_.TakeWaiting(control)) {
      // The caret moved behind a tail still to be added (the list scrolled to its newest line):
      // the tail goes in first, and the list is not set whole.
      AppendPending(box, *edit);
    } else if (appends_.ShownSize(control) != box.Text().size() ||
               FromQtLines(edit->toPlainText()) != box.Text()) {
      edit->setPlainText(ToQtLines(box.Text()));
      appends_.Shown(control, box.Text().size());
    }
    QTextCursor cursor = edit->textCursor();
    const int position = ModelToWidgetCaret(box.Text(), box.SelStart());
    if (cursor.position() != position) {
      cursor.setPosition(std::min(position, edit->document()->characterCount() - 1));
      edit->setTextCursor(cursor);
      edit->ensureCursorVisible();
    }
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    auto& model = static_cast<Label&>(control);
    label->setText(ToQt(model.Caption()));
    label->setAlignment(AlignmentFor(model.Align()));
    label->setWordWrap(model.WordWrap());
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    auto& model = static_cast<CommandButton&>(control);
    button->setText(ButtonCaption(model.Caption()));
    if (model.Graphical()) {
      QPixmap art(40, 40);
      art.fill(Qt::transparent);
      QPainter painter(&art);
      PaintArtwork(painter, QRectF(0, 0, 40, 40), Artwork::kDatabase);
      painter.end();
      button->setIcon(QIcon(art));
      button->setIconSize(QSize(32, 32));
    }
  } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
    check->setText(ButtonCaption(static_cast<CheckBox&>(control).Caption()));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(ToQt(static_cast<Frame&>(control).Caption()));
  }
}

void QtFrontEnd::Flush() {
  ++syncing_;
  for (const Control* control : appends_.TakeAllWaiting()) {
    auto* edit = qobject_cast<QPlainTextEdit*>(WidgetOf(*control));
    if (edit == nullptr) {
      // A single-line box that grew: draw it whole.
      if (QWidget* widget = WidgetOf(*control)) {
        SyncText(*const_cast<Control*>(control), widget);
      }
      continue;
    }
    AppendPending(static_cast<const TextBox&>(*control), *edit);
  }
  --syncing_;
}

void QtFrontEnd::AppendPending(const TextBox& box, QPlainTextEdit& edit) {
  if (const std::optional<std::size_t> tail = appends_.TailFrom(box)) {
    // Only the new tail is added: a long list never redraws whole per appended line.
    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ToQtLines(std::string_view(box.Text()).substr(*tail)));
  } else {
    edit.setPlainText(ToQtLines(box.Text()));
  }
  appends_.Shown(box, box.Text().size());
}

void QtFrontEnd::FormShown(Form& form) {
  Window* window = Build(form);
  window->top->setWindowTitle(ToQt(form.Caption()));
  window->top->show();
  window->top->raise();
  window->top->activateWindow();
  if (Control* focus = screen_.ActiveControl(); focus != nullptr && &focus->Parent() == &form) {
    if (QWidget* widget = WidgetOf(*focus)) {
      widget->setFocus(Qt::OtherFocusReason);
    }
  }
}

void QtFrontEnd::FormHidden(Form& form) {
  if (QWidget* top = WindowOf(form)) {
    top->hide();
  }
}

void QtFrontEnd::FormUnloaded(Form& form) {
  auto it = windows_.find(&form);
  if (it == windows_.end()) {
    return;
  }
  for (Control* control : form.Controls()) {
    widget_of_.erase(control);
    appends_.Forget(*control);
  }
  for (auto c = control_of_.begin(); c != control_of_.end();) {
    c = &c->second->Parent() == &form ? control_of_.erase(c) : std::next(c);
  }
  if (FormWindow* top = it->second->top) {
    form_of_window_.erase(top);
    top->removeEventFilter(this);
    top->hide();
    top->deleteLater();
  }
  windows_.erase(it);
}

void QtFrontEnd::FormCaptionChanged(Form& form) {
  if (QWidget* top = WindowOf(form)) {
    top->setWindowTitle(ToQt(form.Caption()));
    ++syncing_;
    SetWindowSize(form, *top);
    --syncing_;
  }
}

void QtFrontEnd::SetWindowSize(const Form& form, QWidget& top) {
  const QSize size(form.Width() / kTwipsPerPixel, form.Height() / kTwipsPerPixel);
  if (!form.Resizable()) {
    top.setFixedSize(size);
    return;
  }
  top.setMinimumSize(form.MinimumWidth() / kTwipsPerPixel, form.MinimumHeight() / kTwipsPerPixel);
  if (top.size() != size) {
    top.resize(size);
  }
}

void QtFrontEnd::PlaceWindow(const Form& form, QWidget& top) {
  if (!form.Position()) {
    return;
  }
  const QPoint at(form.Position()->left / kTwipsPerPixel, form.Position()->top / kTwipsPerPixel);
  // A screen unplugged since leaves the window where the system puts it, never out of sight.
  if (QGuiApplication::screenAt(at + QPoint(20, 20)) != nullptr) {
    top.move(at);
  }
}

void QtFrontEnd::WindowMoved(Form& form, const QWidget& top) {
  if (top.isVisible() && !top.isMinimized() && !top.isMaximized()) {
    form.MoveTo({top.x() * kTwipsPerPixel, top.y() * kTwipsPerPixel});
  }
}

void QtFrontEnd::FocusChanged(Control* control) {
  if (control == nullptr) {
    return;
  }
  QWidget* widget = WidgetOf(*control);
  if (widget == nullptr || widget->hasFocus()) {
    return;
  }
  ++syncing_;
  if (QWidget* top = widget->window(); top != nullptr && top->isVisible()) {
    if (!top->isActiveWindow()) {
      top->activateWindow();
    }
  }
  widget->setFocus(Qt::OtherFocusReason);
  --syncing_;
}

bool QtFrontEnd::HandleKey(Control& control, QWidget* widget, QEvent* event) {
  auto* key_event = static_cast<QKeyEvent*>(event);
  KeyPress key{VirtualKeyCode(*key_event), ModifiersOf(*key_event), key_event->isAutoRepeat()};
  if (key.code == key::kTab && key_event->key() == Qt::Key_Backtab) {
    key.held.shift = true;
  }
  std::optional<TextSelection> shown;
  auto* line = qobject_cast<QLineEdit*>(widget);
  if (line != nullptr) {
    shown = line->hasSelectedText() ? TextSelection{line->selectionStart(), line->selectionLength()}
                                    : TextSelection{line->cursorPosition(), 0};
  }
  switch (RouteKey(screen_, control, key, shown)) {
    case KeyOutcome::kToWidget:
      return false;
    case KeyOutcome::kConsumed:
      return true;
    case KeyOutcome::kSelectAll:
      if (line != nullptr) {
        line->selectAll();
      } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        edit->selectAll();
      }
      return true;
  }
  return false;
}

bool QtFrontEnd::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    if (auto it = form_of_window_.find(watched); it != form_of_window_.end()) {
      screen_.WindowActivatedByOperator(*it->second);
    }
    return false;
  }
  if (event->type() == QEvent::Resize && syncing_ == 0) {
    // The operator made a resizable window larger or smaller: the window lays itself out again.
    if (auto it = form_of_window_.find(watched); it != form_of_window_.end()) {
      const QSize size = static_cast<QResizeEvent*>(event)->size();
      it->second->UserResize(size.width() * kTwipsPerPixel, size.height() * kTwipsPerPixel);
    }
    return false;
  }
  if (event->type() == QEvent::Move && syncing_ == 0) {
    if (auto it = form_of_window_.find(watched); it != form_of_window_.end()) {
      WindowMoved(*it->second, *static_cast<QWidget*>(watched));
    }
    return false;
  }
  auto found = control_of_.find(watched);
  if (found == control_of_.end()) {
    return false;
  }
  Control& control = *found->second;
  QWidget* widget = WidgetOf(control);
  switch (event->type()) {
    case QEvent::KeyPress:
      return widget != nullptr && HandleKey(control, widget, event);
    case QEvent::KeyRelease:
      return KeyUpConsumed(control, VirtualKeyCode(*static_cast<QKeyEvent*>(event)));
    case QEvent::FocusIn:
      if (syncing_ == 0) {
        // The model may refuse (or move the focus on); the widgets follow the model.
        if (Control* instead = FocusTakenByWidget(screen_, control)) {
          FocusChanged(instead);
        }
      }
      return false;
    case QEvent::MouseButtonRelease:
      return ClickOnPicture(control);
    default:
      return false;
  }
}

void QtMessageBox::Show(const std::string& text, const std::string& title, MessageIcon icon) {
  QMessageBox::Icon qt_icon = QMessageBox::NoIcon;
  if (icon == MessageIcon::kInformation) {
    qt_icon = QMessageBox::Information;
  }
  if (icon == MessageIcon::kCritical) {
    qt_icon = QMessageBox::Critical;
  }
  QMessageBox box(qt_icon, ToQt(title), ToQt(text), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

}  // namespace keldra::qt
