// Frames, picture boxes, lines and images: the containers and drawings of a window. A line keeps
// its start point as laid out and code moves its end point; coordinates are in the units of the
// picture box that holds it (twips), y growing downwards.
#pragma once

#include <string>

#include "widgets/Control.h"

namespace keldra {

class Frame : public Control {
 public:
  Frame(Form& form, std::string name, std::string caption = {});
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

 private:
  std::string caption_;
};

// The drawings the front end knows how to paint for a picture box or an image.
enum class Artwork { kNone, kLogo, kAntenna, kAward, kDatabase, kCompass };

class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name);
  Artwork Art() const { return art_; }
  void SetArt(Artwork art) { art_ = art; }
  bool Border() const { return border_; }
  void SetBorder(bool border) { border_ = border; }

 private:
  Artwork art_ = Artwork::kNone;
  bool border_ = true;
};

class Line : public Control {
 public:
  Line(Form& form, std::string name);

  int X1() const { return x1_; }
  int Y1() const { return y1_; }
  int X2() const { return x2_; }
  int Y2() const { return y2_; }
  void SetPoints(int x1, int y1, int x2, int y2);
  // Moves the end point only; the start point stays where the layout put it.
  void SetEnd(int x2, int y2);
  int Thickness() const { return thickness_; }
  void SetThickness(int pixels) { thickness_ = pixels; }

 private:
  int x1_ = 0;
  int y1_ = 0;
  int x2_ = 0;
  int y2_ = 0;
  int thickness_ = 1;
};

class Image : public Control {
 public:
  Image(Form& form, std::string name, Artwork art = Artwork::kLogo);
  Artwork Art() const { return art_; }

 private:
  Artwork art_;
};

}  // namespace keldra
