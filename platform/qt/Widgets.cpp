#include "platform/qt/Widgets.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "platform/CodePage.h"

namespace keldra::qt {
namespace {

constexpr double kTwipsPerPixel = 15.0;

void PaintCompass(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  const double radius = std::min(r.width(), r.height()) / 2 - 4;
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(QColor(250, 250, 244));
  p.drawEllipse(c, radius, radius);
  for (int deg = 0; deg < 360; deg += 30) {
    const double a = (deg - 90) * M_PI / 180;
    const double inner = deg % 90 == 0 ? radius - 8 : radius - 4;
    p.drawLine(QPointF(c.x() + inner * std::cos(a), c.y() + inner * std::sin(a)),
               QPointF(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a)));
  }
  QFont f = p.font();
  f.setPointSizeF(7);
  f.setBold(true);
  p.setFont(f);
  const char* marks[] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) {
    const double a = (i * 90 - 90) * M_PI / 180;
    const QPointF at(c.x() + (radius - 16) * std::cos(a), c.y() + (radius - 16) * std::sin(a));
    p.drawText(QRectF(at.x() - 8, at.y() - 8, 16, 16), Qt::AlignCenter, marks[i]);
  }
}

void PaintLogo(QPainter& p, const QRectF& r) {
  // A small yagi over the band's name: the contest's badge.
  const QRectF box = r.adjusted(2, 2, -2, -2);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 60, 130));
  p.drawRoundedRect(box, 6, 6);
  p.setPen(QPen(Qt::white, 2));
  const double mid = box.center().x();
  p.drawLine(QPointF(box.left() + 8, box.top() + box.height() * 0.35),
             QPointF(box.right() - 8, box.top() + box.height() * 0.35));
  for (int i = 0; i < 5; ++i) {
    const double x = box.left() + 10 + i * (box.width() - 20) / 4;
    const double h = box.height() * (0.22 - i * 0.025);
    p.drawLine(QPointF(x, box.top() + box.height() * 0.35 - h),
               QPointF(x, box.top() + box.height() * 0.35 + h));
  }
  p.drawLine(QPointF(mid, box.top() + box.height() * 0.35), QPointF(mid, box.bottom() - 18));
  QFont f = p.font();
  f.setBold(true);
  f.setPointSizeF(std::max(6.0, box.height() / 7));
  p.setFont(f);
  p.drawText(QRectF(box.left(), box.bottom() - 18, box.width(), 16), Qt::AlignCenter, "144");
}

void PaintAward(QPainter& p, const QRectF& r) {
  const QPointF c = r.center();
  const double radius = std::min(r.width(), r.height()) / 2 - 2;
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double a = (i * 36 - 90) * M_PI / 180;
    const double rr = i % 2 == 0 ? radius : radius * 0.45;
    const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    if (i == 0) {
      star.moveTo(pt);
    } else {
      star.lineTo(pt);
    }
  }
  star.closeSubpath();
  p.setPen(QPen(QColor(150, 100, 0), 1));
  p.setBrush(QColor(240, 190, 30));
  p.drawPath(star);
}

void PaintDatabase(QPainter& p, const QRectF& r) {
  const QRectF box =
      r.adjusted(r.width() * 0.25, r.height() * 0.15, -r.width() * 0.25, -r.height() * 0.15);
  const double lid = box.height() * 0.22;
  p.setPen(QPen(QColor(40, 60, 100), 1.5));
  p.setBrush(QColor(120, 160, 220));
  p.drawRect(QRectF(box.left(), box.top() + lid / 2, box.width(), box.height() - lid));
  p.drawEllipse(QRectF(box.left(), box.bottom() - lid, box.width(), lid));
  p.setBrush(QColor(170, 200, 240));
  p.drawEllipse(QRectF(box.left(), box.top(), box.width(), lid));
}

}  // namespace

void PaintArtwork(QPainter& p, const QRectF& area, Artwork art) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  switch (art) {
    case Artwork::kCompass:
      PaintCompass(p, area);
      break;
    case Artwork::kLogo:
    case Artwork::kAntenna:
      PaintLogo(p, area);
      break;
    case Artwork::kAward:
      PaintAward(p, area);
      break;
    case Artwork::kDatabase:
      PaintDatabase(p, area);
      break;
    case Artwork::kNone:
      break;
  }
  p.restore();
}

QImage ArtworkImage(Artwork art, int size) {
  // The main window's logo is 56 pixels; its strokes and lettering are laid out for that.
  constexpr double kDrawnAt = 56;
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.scale(size / kDrawnAt, size / kDrawnAt);
  PaintArtwork(p, QRectF(0, 0, kDrawnAt, kDrawnAt), art);
  return image;
}

void ArtWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRectF area = rect();
  if (border_) {
    p.fillRect(area, QColor(255, 255, 255));
    p.setPen(QColor(160, 160, 160));
    p.drawRect(area.adjusted(0, 0, -1, -1));
  }
  PaintArtwork(p, area.adjusted(2, 2, -2, -2), art_);
}

LineWidget::LineWidget(const Line& line, QWidget* parent) : QWidget(parent), line_(line) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void LineWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const Color c = line_.ForeColor();
  p.setPen(QPen(QColor(c.r, c.g, c.b), line_.Thickness(), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(line_.X1() / kTwipsPerPixel, line_.Y1() / kTwipsPerPixel),
             QPointF(line_.X2() / kTwipsPerPixel, line_.Y2() / kTwipsPerPixel));
}

bool PlainTextBox::canInsertFromMimeData(const QMimeData* source) const {
  return source != nullptr && source->hasText();
}

void PlainTextBox::insertFromMimeData(const QMimeData* source) {
  if (source == nullptr || !source->hasText()) {
    return;
  }
  QString text = source->text();
  if (text.isEmpty()) {
    return;
  }
  text.replace("\r\n", "\n");
  text.replace('\r', '\n');
  // What the model will store: a character outside the code page becomes "?".
  insertPlainText(QString::fromStdString(Cp1252ToUtf8(Utf8ToCp1252(text.toStdString()))));
}

}  // namespace keldra::qt
