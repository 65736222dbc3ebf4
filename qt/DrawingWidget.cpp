#include "qt/DrawingWidget.h"

#include <QBuffer>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "system/CodePage.h"

namespace keldra::qt {
namespace {

QColor ToQColor(Color c) { return {c.r, c.g, c.b}; }

QSizeF PixelSize(const Drawing& drawing) {
  return {TwipsToPixels(drawing.Width()), TwipsToPixels(drawing.Height())};
}

// Units of the drawing to pixels of the control.
QTransform ViewTransform(const Drawing& drawing) {
  const DrawingZoom& view = drawing.View();
  const QSizeF size = PixelSize(drawing);
  QTransform t;
  t.translate(size.width() / 2, size.height() / 2);
  t.scale(view.scale, view.scale);
  t.translate(-view.centre.x, -view.centre.y);
  return t;
}

QFont FontOf(const FontHints& hints) {
  QFont font;
  font.setBold(hints.bold);
  if (hints.points > 0) {
    font.setPointSize(hints.points);
  }
  return font;
}

}  // namespace

void DrawingPainting::Refresh(const Drawing& drawing) {
  const auto& layers = drawing.Layers();
  layers_.resize(layers.size());
  for (std::size_t i = 0; i < layers.size(); ++i) {
    Layer& cache = layers_[i];
    if (cache.version == drawing.LayerVersion(i) && cache.version != 0) {
      continue;
    }
    std::vector<Text> old_texts = std::move(cache.texts);
    cache = Layer{.version = drawing.LayerVersion(i)};
    // Lines of one style go into one path; a filled shape is its own closed subpath.
    std::map<std::tuple<int, int, int, int, bool, int>, std::size_t> stroke_of;
    for (const Polyline& line : layers[i].lines) {
      if (line.points.size() < 2) {
        continue;
      }
      const int fill = line.fill ? (line.fill->r << 16 | line.fill->g << 8 | line.fill->b) : -1;
      const auto key =
          std::tuple(line.color.r, line.color.g, line.color.b, line.width, line.dashed, fill);
      auto [it, added] = stroke_of.try_emplace(key, cache.strokes.size());
      if (added) {
        cache.strokes.push_back(
            {.color = line.color, .width = line.width, .dashed = line.dashed, .fill = line.fill});
      }
      QPainterPath& path = cache.strokes[it->second].path;
      path.moveTo(line.points[0].x, line.points[0].y);
      for (std::size_t p = 1; p < line.points.size(); ++p) {
        path.lineTo(line.points[p].x, line.points[p].y);
      }
    }
    for (const Marker& marker : layers[i].markers) {
      if (cache.dots.empty() || !(cache.dots.back().color == marker.color) ||
          cache.dots.back().outline != marker.outline ||
          cache.dots.back().radius != marker.radius) {
        cache.dots.push_back(
            {.color = marker.color, .outline = marker.outline, .radius = marker.radius});
      }
      cache.dots.back().points.emplace_back(marker.at.x, marker.at.y);
    }
    cache.texts = TextsOf(layers[i].labels, std::move(old_texts));
  }
}

std::vector<DrawingPainting::Text> DrawingPainting::TextsOf(const std::vector<DrawLabel>& labels,
                                                            std::vector<Text> old) {
  std::unordered_multimap<std::string, Text> reusable;
  reusable.reserve(old.size());
  for (Text& text : old) {
    std::string key = text.key;
    reusable.emplace(std::move(key), std::move(text));
  }
  std::vector<Text> texts;
  texts.reserve(labels.size());
  for (const DrawLabel& label : labels) {
    std::string key =
        std::to_string(label.font.points) + (label.font.bold ? "b" : "n") + label.text;
    if (auto found = reusable.find(key); found != reusable.end()) {
      texts.push_back(std::move(found->second));
      reusable.erase(found);
      continue;
    }
    Text text{.text = QStaticText(QString::fromStdString(Cp1252ToUtf8(label.text))),
              .font = FontOf(label.font),
              .key = std::move(key)};
    text.text.setTextFormat(Qt::PlainText);
    text.text.prepare(QTransform(), text.font);
    texts.push_back(std::move(text));
  }
  return texts;
}

const QImage& DrawingPainting::Sprite(const Dots& dots) {
  auto rgb = [](Color c) { return c.r << 16 | c.g << 8 | c.b; };
  const auto key = std::tuple(rgb(dots.color), dots.outline ? rgb(*dots.outline) : -1, dots.radius);
  auto it = sprites_.find(key);
  if (it != sprites_.end()) {
    return it->second;
  }
  const int size = 2 * dots.radius + 4;
  QImage sprite(size, size, QImage::Format_ARGB32_Premultiplied);
  sprite.fill(Qt::transparent);
  QPainter painter(&sprite);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QPointF middle(size / 2.0, size / 2.0);
  if (dots.outline) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(*dots.outline));
    painter.drawEllipse(middle, dots.radius + 1.5, dots.radius + 1.5);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(dots.color));
  painter.drawEllipse(middle, dots.radius, dots.radius);
  painter.end();
  return sprites_.emplace(key, std::move(sprite)).first->second;
}

void DrawingPainting::Paint(QPainter& painter, const Drawing& drawing) {
  Refresh(drawing);
  const QSizeF size = PixelSize(drawing);
  const QRectF area(QPointF(0, 0), size);
  painter.fillRect(area, ToQColor(drawing.BackColor()));
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setClipRect(area);
  const QTransform view = ViewTransform(drawing);
  const auto& layers = drawing.Layers();
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const DrawingLayer& layer = layers[i];
    if (!drawing.Shows(layer)) {
      continue;
    }
    const QTransform t = layer.pinned ? QTransform() : view;
    for (const Stroke& stroke : layers_[i].strokes) {
      painter.setTransform(t);
      if (stroke.fill) {
        // Filled without antialiasing, which costs most of a paint: the outline drawn over the
        // edge smooths it.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(stroke.path, ToQColor(*stroke.fill));
        painter.setRenderHint(QPainter::Antialiasing, true);
      }
      if (stroke.width <= 0) {
        continue;
      }
      QPen pen(ToQColor(stroke.color), stroke.width);
      pen.setCosmetic(true);
      if (stroke.dashed) {
        pen.setStyle(Qt::DashLine);
      }
      painter.strokePath(stroke.path, pen);
    }
    painter.resetTransform();
    const QRectF reach = area.adjusted(-10, -10, 10, 10);
    for (const Dots& dots : layers_[i].dots) {
      const QImage& sprite = Sprite(dots);
      const double half = sprite.width() / 2.0;
      for (const QPointF& at : dots.points) {
        const QPointF p = t.map(at);
        if (reach.contains(p)) {
          painter.drawImage(QPoint(static_cast<int>(std::lround(p.x() - half)),
                                   static_cast<int>(std::lround(p.y() - half))),
                            sprite);
        }
      }
    }
    const QRectF near = area.adjusted(-300, -30, 300, 30);
    for (std::size_t l = 0; l < layer.labels.size(); ++l) {
      const DrawLabel& label = layer.labels[l];
      QPointF at = t.map(QPointF(label.at.x, label.at.y)) + QPointF(label.dx, label.dy);
      if (!near.contains(at)) {
        continue;
      }
      const Text& text = layers_[i].texts[l];
      const QSizeF size = text.text.size();
      at.ry() -= size.height() / 2;
      if (label.align == Alignment::kCenter) {
        at.rx() -= size.width() / 2;
      } else if (label.align == Alignment::kRight) {
        at.rx() -= size.width();
      }
      painter.setFont(text.font);
      if (label.font.bold) {
        // Bold labels stand over dots and shades: a white halo keeps them readable.
        painter.setPen(Qt::white);
        for (const QPointF shift : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)}) {
          painter.drawStaticText(at + shift, text.text);
        }
      }
      painter.setPen(ToQColor(label.color));
      painter.drawStaticText(at, text.text);
    }
  }
}

DrawingWidget::DrawingWidget(Drawing& drawing, QWidget* parent)
    : QWidget(parent), drawing_(drawing) {
  setMouseTracking(false);
  setCursor(Qt::OpenHandCursor);
}

void DrawingWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painting_.Paint(painter, drawing_);
  painter.resetTransform();
  painter.setClipping(false);
  painter.setPen(QColor(160, 160, 160));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DrawingWidget::ZoomAbout(double factor, QPointF pixel) {
  drawing_.UserView(drawing_.ZoomedAbout(factor, pixel.x(), pixel.y()));
  update();
}

void DrawingWidget::wheelEvent(QWheelEvent* event) {
  const double steps = event->angleDelta().y() / 120.0;
  if (steps != 0) {
    ZoomAbout(std::pow(Drawing::kZoomStep, steps), event->position());
  }
  event->accept();
}

void DrawingWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    drag_from_ = event->position();
    drag_centre_ = drawing_.View().centre;
    setCursor(Qt::ClosedHandCursor);
  }
  QWidget::mousePressEvent(event);
}

void DrawingWidget::mouseMoveEvent(QMouseEvent* event) {
  if (drag_from_) {
    const QPointF moved = event->position() - *drag_from_;
    drawing_.UserView(drawing_.Dragged(drag_centre_, moved.x(), moved.y()));
    update();
  }
}

void DrawingWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_from_ && event->button() == Qt::LeftButton) {
    const QPointF to = event->position();
    drawing_.UserRelease({drag_from_->x(), drag_from_->y()}, {to.x(), to.y()});
  }
  drag_from_.reset();
  setCursor(Qt::OpenHandCursor);
  QWidget::mouseReleaseEvent(event);
}

void DrawingWidget::keyPressEvent(QKeyEvent* event) {
  const QPointF middle(width() / 2.0, height() / 2.0);
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomAbout(Drawing::kZoomStep, middle);
      return;
    case Qt::Key_Minus:
      ZoomAbout(1 / Drawing::kZoomStep, middle);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

bool DrawingWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    if (const Marker* marker = drawing_.MarkerAt(help->pos().x(), help->pos().y())) {
      QToolTip::showText(help->globalPos(), QString::fromStdString(Cp1252ToUtf8(marker->tooltip)),
                         this);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QWidget::event(event);
}

std::optional<std::string> QtDrawingPainter::Png(const Drawing& drawing) {
  const QSizeF size = PixelSize(drawing);
  QImage image(std::max(1, static_cast<int>(size.width())),
               std::max(1, static_cast<int>(size.height())), QImage::Format_RGB32);
  {
    QPainter painter(&image);
    DrawingPainting painting;
    painting.Paint(painter, drawing);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
    return std::nullopt;
  }
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace keldra::qt
