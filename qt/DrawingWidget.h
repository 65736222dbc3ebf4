// Paints a Drawing: its layers in the view the control holds, and the operator's zoom (wheel, + and
// -) and pan (dragging) as changes of that view alone. Each layer's lines and dots are kept in
// ready-made paths and point lists until the layer's version changes, so a zoom or pan step, or a
// change of one layer, repaints without rebuilding the rest.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QStaticText>
#include <QWidget>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "widgets/Drawing.h"

namespace keldra::qt {

class DrawingPainting {
 public:
  // Paints the drawing at its own size, as it stands now.
  void Paint(QPainter& painter, const Drawing& drawing);

 private:
  struct Stroke {
    Color color{};
    int width = 1;
    bool dashed = false;
    std::optional<Color> fill{};
    QPainterPath path{};
  };
  struct Dots {
    Color color{};
    std::optional<Color> outline{};
    int radius = 3;
    std::vector<QPointF> points{};
  };
  struct Text {
    QStaticText text{};
    QFont font{};
    std::string key{};  // the label's text and font, to find it again when its layer changes
  };
  struct Layer {
    std::uint64_t version = 0;
    std::vector<Stroke> strokes{};
    std::vector<Dots> dots{};
    std::vector<Text> texts{};  // one per label, laid out once
  };
  void Refresh(const Drawing& drawing);
  // The laid-out texts of a layer built again: those of the layer's old texts that the new labels
  // still show are taken over, so a layer of thousands of names where one changed lays out one.
  static std::vector<Text> TextsOf(const std::vector<DrawLabel>& labels, std::vector<Text> old);
  // A dot drawn once and then copied to every place it stands.
  const QImage& Sprite(const Dots& dots);

  std::vector<Layer> layers_;
  std::map<std::tuple<int, int, int>, QImage> sprites_;
};

class DrawingWidget : public QWidget {
 public:
  DrawingWidget(Drawing& drawing, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Scales the view by `factor`, keeping the point under `pixel` where it is.
  void ZoomAbout(double factor, QPointF pixel);

  Drawing& drawing_;
  DrawingPainting painting_;
  std::optional<QPointF> drag_from_;
  DrawPoint drag_centre_;
};

// The PNG of a drawing, painted as the screen shows it.
class QtDrawingPainter : public DrawingPainter {
 public:
  std::optional<std::string> Png(const Drawing& drawing) override;
};

}  // namespace keldra::qt
