// The few widgets the front end draws itself: a top-level window that hands its close button to
// the model, a picture box or image with its artwork, and the overlay that draws a line.
#pragma once

#include <QCloseEvent>
#include <QImage>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>

#include "widgets/Graphics.h"

namespace keldra::qt {

class FormWindow : public QWidget {
 public:
  explicit FormWindow(std::function<void()> on_close) : on_close_(std::move(on_close)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    // The model decides: it unloads the window (and the front end then destroys this one).
    event->ignore();
    if (on_close_) {
      on_close_();
    }
  }

 private:
  std::function<void()> on_close_;
};

// A multi-line box that takes a paste as plain text only, in the code page's characters, and
// nothing when the clipboard is empty or holds no text. Qt's own paste dies on an empty clipboard
// (Ctrl+V, Shift+Insert and the context menu all end there).
class PlainTextBox : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;
};

// A picture box or image: an optional sunken border and one of the program's drawings.
class ArtWidget : public QWidget {
 public:
  ArtWidget(Artwork art, bool border, QWidget* parent)
      : QWidget(parent), art_(art), border_(border) {}
  void SetBorder(bool border) {
    border_ = border;
    update();
  }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Artwork art_;
  bool border_;
};

// Draws one Line in the coordinates of its container; transparent to the mouse.
class LineWidget : public QWidget {
 public:
  LineWidget(const Line& line, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Line& line_;
};

// Paints a drawing into a rectangle; also used for picture buttons.
void PaintArtwork(QPainter& painter, const QRectF& area, Artwork art);

// A drawing on a transparent square of `size` pixels, scaled from the size the windows show it at
// so that it looks the same at any size: the program's icon is the logo drawn this way.
QImage ArtworkImage(Artwork art, int size);

}  // namespace keldra::qt
