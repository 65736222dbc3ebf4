#include "widgets/Graphics.h"

namespace keldra {

Frame::Frame(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name), ControlKind::kFrame), caption_(std::move(caption)) {}

void Frame::SetCaption(std::string caption) {
  if (caption == caption_) {
    return;
  }
  caption_ = std::move(caption);
  Notify(Property::kText);
}

PictureBox::PictureBox(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::kPictureBox) {}

Line::Line(Form& form, std::string name) : Control(form, std::move(name), ControlKind::kLine) {}

void Line::SetPoints(int x1, int y1, int x2, int y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  Notify(Property::kLinePoints);
}

void Line::SetEnd(int x2, int y2) {
  if (x2 == x2_ && y2 == y2_) {
    return;
  }
  x2_ = x2;
  y2_ = y2;
  Notify(Property::kLinePoints);
}

Image::Image(Form& form, std::string name, Artwork art)
    : Control(form, std::move(name), ControlKind::kImage), art_(art) {}

}  // namespace keldra
