#include "qt/Widgets.h"

#include <QPainter>
#include <cmath>

#include "system/CodePage.h"
#include "widgets/Artwork.h"

namespace keldra::qt {
namespace {

QColor ToQColor(Color c) { return {c.r, c.g, c.b}; }

}  // namespace

void PaintArtwork(QPainter& p, const QRectF& area, Artwork art) {
  const ArtPicture picture = DescribeArt(art, area.width(), area.height());
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(area.topLeft());
  for (const ArtShape& shape : picture.shapes) {
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(shape.points.size()));
    for (const DrawPoint& at : shape.points) {
      points << QPointF(at.x, at.y);
    }
    p.setPen(shape.line ? QPen(ToQColor(*shape.line), shape.width) : QPen(Qt::NoPen));
    if (shape.closed) {
      p.setBrush(shape.fill ? QBrush(ToQColor(*shape.fill)) : QBrush(Qt::NoBrush));
      p.drawPolygon(points);
    } else {
      p.drawPolyline(points);
    }
  }
  for (const ArtText& text : picture.texts) {
    QFont f = p.font();
    f.setBold(text.bold);
    f.setPointSizeF(text.points);
    p.setFont(f);
    p.setPen(ToQColor(text.color));
    p.drawText(QRectF(text.x, text.y, text.width, text.height), Qt::AlignCenter,
               QString::fromStdString(Cp1252ToUtf8(text.text)));
  }
  p.restore();
}

QImage ArtworkImage(Artwork art, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.scale(size / kArtDrawnAt, size / kArtDrawnAt);
  PaintArtwork(p, QRectF(0, 0, kArtDrawnAt, kArtDrawnAt), art);
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
  p.drawLine(QPointF(TwipsToPixels(line_.X1()), TwipsToPixels(line_.Y1())),
             QPointF(TwipsToPixels(line_.X2()), TwipsToPixels(line_.Y2())));
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
