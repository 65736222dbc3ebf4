#include "ui/MapWindow.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/ContestLog.h"
#include "geo/WorldOutline.h"
#include "system/CodePage.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace keldra {
namespace {

// Where the map stands while the station has no valid locator: the middle of Italy.
constexpr const char* kFallbackCentre = "JN62";
constexpr int kRingsKm[] = {100, 200, 300, 500, 1000, 2000};
constexpr double kBearingLineKm = 2300;
// Detail appears as the map is zoomed in (pixels per km).
constexpr double kSquareLinesScale = 0.12;
constexpr double kSquareNamesScale = 0.4;
// The operator zooms between the whole region and a few squares.
constexpr double kMinScale = 0.04;
constexpr double kMaxScale = 20;
constexpr int kFitMargin = 30;
// With no QSOs the map shows this much around the station: the 200 km ring whole.
constexpr double kEmptyMapKm = 450;

constexpr Color kSea{222, 236, 248};
constexpr Color kLand{250, 249, 242};
constexpr Color kCoast{60, 100, 150};
constexpr Color kBorder{150, 150, 165};
constexpr Color kFieldLine{125, 125, 125};
constexpr Color kSquareLine{205, 205, 205};
constexpr Color kRing{70, 70, 170};
constexpr Color kBearingLine{175, 175, 215};
constexpr Color kQsoDot{25, 95, 200};
constexpr Color kLastQso{220, 0, 0};
constexpr Color kOdx{150, 0, 150};
constexpr Color kTyped{210, 30, 30};

DrawPoint AtBearing(double degrees, double km) {
  const double a = degrees * std::numbers::pi / 180;
  return {km * std::sin(a), -km * std::cos(a)};
}

DrawLabel Text(DrawPoint at, std::string text, Color color, FontHints font,
               Alignment align = Alignment::kCenter) {
  return {.at = at, .text = std::move(text), .color = color, .font = font, .align = align};
}

Polyline LineOf(const MapLine& line, Color color, int width = 1) {
  Polyline out{.color = color, .width = width};
  out.points.reserve(line.size());
  for (const MapPoint& p : line) {
    out.points.push_back(MapWindow::ToDrawing(p));
  }
  return out;
}

// A name beside a dot stands on the side of the station: "Adatta" keeps the station and the dots
// in view, so the name is never cut off by the edge beyond the dot.
void TowardsTheCentre(DrawLabel& label, int gap) {
  const bool east = label.at.x > 0;
  label.align = east ? Alignment::kRight : Alignment::kLeft;
  label.dx = east ? -gap : gap;
}

std::string Km(long long km) { return std::to_string(km) + " km"; }

}  // namespace

MapWindow::MapWindow(Program& program)
    : Form(program.Desktop(), "MapWindow", "Keldra QRP Test - Mappa", Px(900), Px(700)),
      program_(program) {
  SetResizable(Px(560), Px(420));
  map.SetBackColor(kSea);
  map.min_scale = kMinScale;
  map.max_scale = kMaxScale;
  map.MarkerClick = [this](std::size_t layer, std::size_t marker) {
    OnMarkerClicked(layer, marker);
  };
  map.ViewChanged = [this] {
    fitted_ = false;
    PlaceBearingLabels();
  };
  zoom_in_button.Click = [this] {
    map.SetView(map.Zoomed(1.5));
    PlaceBearingLabels();
  };
  zoom_out_button.Click = [this] {
    map.SetView(map.Zoomed(1 / 1.5));
    PlaceBearingLabels();
  };
  fit_button.Click = [this] { OnFitPressed(); };
  save_button.Click = [this] { OnSavePressed(); };
  close_button.Click = [this] { Unload(); };
  zoom_in_button.SetToolTip("Ingrandisci (rotella del mouse o +)");
  zoom_out_button.SetToolTip("Riduci (rotella del mouse o -)");
  fit_button.SetToolTip("Mostra tutti i QSO");
  save_button.SetToolTip(std::string("Salva la mappa in ") + kMapImageName);
  map.SetToolTip({});
  for (CommandButton* b : {&zoom_in_button, &zoom_out_button}) {
    b->SetFont({.bold = true, .points = 11});
  }
  Layout();
}

void MapWindow::Layout() {
  const int w = Width() / kTwipsPerPixel;
  const int h = Height() / kTwipsPerPixel;
  Place(map, 8, 8, w - 16, h - 58);
  const int y = h - 42;
  int x = w - 8;
  for (auto [button, width] : {std::pair{&close_button, 90},
                               {&save_button, 130},
                               {&fit_button, 90},
                               {&zoom_out_button, 36},
                               {&zoom_in_button, 36}}) {
    x -= width;
    Place(*button, x, y, width, 32);
    x -= 8;
  }
  Place(status, 8, y + 6, x - 16, 22);
  PlaceBearingLabels();
}

void MapWindow::OnLoad() {
  Follow();
  FollowChat();
  OnFitPressed();
}

void MapWindow::Follow() {
  // Never brings a closed main window back (the map may outlive it while the program ends).
  MainWindow* const found = program_.Find<MainWindow>();
  if (found == nullptr) {
    return;
  }
  MainWindow& main = *found;
  const std::string& own = main.station_locator.Caption();
  const bool centre_moved = !built_ || own != own_locator_;
  if (centre_moved) {
    built_ = true;
    own_locator_ = own;
    const auto point = PointOfLocator(own);
    centred_on_station_ = point.has_value();
    projection_ = AzimuthalProjection(point ? *point : *PointOfLocator(kFallbackCentre));
    BuildBackground();
    entries_read_ = 0;
    qsos_.clear();
    BuildChat();
  }
  const bool qsos_changed = centre_moved || program_.Contest().Entries().size() != entries_read_;
  if (qsos_changed) {
    ReadQsos();
    BuildQsos();
  }
  if (centre_moved || main.locator.Text() != typed_) {
    typed_ = main.locator.Text();
    BuildTyped();
  }
  if (qsos_changed) {
    chat_trouble_.clear();  // the row in use was logged
  }
  if (qsos_changed && fitted_) {
    OnFitPressed();
  }
  ShowStatus();
}

void MapWindow::BuildBackground() {
  // Land, then coastlines and borders over the shades.
  DrawingLayer land;
  DrawingLayer outline;
  const auto points = OutlinePoints();
  std::size_t next = 0;
  for (const OutlineLineSize& size : OutlineLines()) {
    Polyline line{.color = kCoast};
    if (size.kind == OutlineKind::kLand) {
      line.width = 0;
      line.fill = kLand;
    } else if (size.kind == OutlineKind::kBorder) {
      line.color = kBorder;
      line.dashed = true;
    }
    line.points.reserve(static_cast<std::size_t>(size.points));
    for (int i = 0; i < size.points; ++i, next += 2) {
      line.points.push_back(
          ToDrawing(projection_.Project(points[next] / 100.0, points[next + 1] / 100.0)));
    }
    (size.kind == OutlineKind::kLand ? land : outline).lines.push_back(std::move(line));
  }
  map.SetLayer(kMapLand, std::move(land));
  map.SetLayer(kMapOutline, std::move(outline));

  // Fields with their names, squares (and their names) as the map is zoomed in.
  DrawingLayer fields;
  for (const MapLine& line : GridLines(projection_, GridLevel::kField, kMapRegion)) {
    fields.lines.push_back(LineOf(line, kFieldLine));
  }
  for (const GridCell& cell : CellsIn(GridLevel::kField, kMapRegion)) {
    const MapPoint centre = projection_.Project((cell.box.south + cell.box.north) / 2,
                                                (cell.box.west + cell.box.east) / 2);
    fields.labels.push_back(
        Text(ToDrawing(centre), cell.name, {110, 110, 110}, {.bold = true, .points = 14}));
  }
  map.SetLayer(kMapFields, std::move(fields));
  DrawingLayer squares{.min_scale = kSquareLinesScale};
  for (const MapLine& line : GridLines(projection_, GridLevel::kSquare, kMapRegion)) {
    squares.lines.push_back(LineOf(line, kSquareLine));
  }
  map.SetLayer(kMapSquares, std::move(squares));
  DrawingLayer square_names{.min_scale = kSquareNamesScale};
  for (const GridCell& cell : CellsIn(GridLevel::kSquare, kMapRegion)) {
    const MapPoint centre = projection_.Project((cell.box.south + cell.box.north) / 2,
                                                (cell.box.west + cell.box.east) / 2);
    square_names.labels.push_back(
        Text(ToDrawing(centre), cell.name, {150, 150, 150}, {.points = 7}));
  }
  map.SetLayer(kMapSquareNames, std::move(square_names));

  // Rings of distance, bearings, the station and its own square.
  DrawingLayer rings;
  for (int deg = 0; deg < 360; deg += 30) {
    rings.lines.push_back({.points = {{0, 0}, AtBearing(deg, kBearingLineKm)},
                           .color = kBearingLine,
                           .dashed = true});
  }
  for (int km : kRingsKm) {
    Polyline ring{.color = kRing, .dashed = km != 1000 && km != 2000};
    for (int i = 0; i <= 180; ++i) {
      ring.points.push_back(AtBearing(i * 2.0, km));
    }
    rings.lines.push_back(std::move(ring));
    DrawLabel label = Text(AtBearing(45, km), Km(km), kRing, {.points = 8}, Alignment::kLeft);
    label.dx = 3;
    label.dy = -7;
    rings.labels.push_back(std::move(label));
  }
  if (centred_on_station_) {
    if (auto cell = CellNamed(SquareOf(own_locator_))) {
      rings.lines.push_back(LineOf(CellOutline(projection_, cell->box), kBlack, 2));
    }
  }
  rings.markers.push_back({.at = {0, 0},
                           .color = kBlack,
                           .radius = 4,
                           .tooltip = centred_on_station_ ? "Stazione " + own_locator_ : "",
                           .outline = kWhite});
  map.SetLayer(kMapRings, std::move(rings));

  // The legend, pinned to the top-left corner.
  DrawingLayer legend{.pinned = true};
  const double rows = std::size(kShadeBands) + 3;
  legend.lines.push_back(
      {.points = {{8, 8}, {162, 8}, {162, 34 + rows * 18}, {8, 34 + rows * 18}, {8, 8}},
       .color = {170, 170, 170},
       .fill = kWhite});
  legend.labels.push_back(Text({16, 22}, "QSO per quadrato", {40, 40, 40},
                               {.bold = true, .points = 8}, Alignment::kLeft));
  double y = 40;
  for (std::size_t i = 0; i < std::size(kShadeBands); ++i, y += 18) {
    legend.lines.push_back(
        {.points = {{16, y - 6}, {36, y - 6}, {36, y + 6}, {16, y + 6}, {16, y - 6}},
         .color = {160, 160, 160},
         .fill = kMapShades[i]});
    legend.labels.push_back(
        Text({44, y}, kShadeBands[i].legend, {40, 40, 40}, {.points = 8}, Alignment::kLeft));
  }
  for (auto [color, text] :
       {std::pair{kLastQso, "Ultimo QSO"}, {kOdx, "ODX"}, {kMapChatUser, "In chat, da lavorare"}}) {
    legend.markers.push_back({.at = {26, y}, .color = color, .radius = 5, .outline = kWhite});
    legend.labels.push_back(Text({44, y}, text, {40, 40, 40}, {.points = 8}, Alignment::kLeft));
    y += 18;
  }
  map.SetLayer(kMapLegend, std::move(legend));
}

void MapWindow::FollowLog(const LogEvent& event) {
  if (event.change == LogChange::kCorrected) {
    entries_read_ = 0;
    qsos_.clear();
  }
  Follow();
}

// The QSOs logged since the last reading; an entry that records no QSO, or no locator the map can
// place, has no dot.
void MapWindow::ReadQsos() {
  const std::vector<ContestLog::Entry>& entries = program_.Contest().Entries();
  for (; entries_read_ < entries.size(); ++entries_read_) {
    const std::optional<LoggedQso>& qso = entries[entries_read_].qso;
    const auto point = qso ? PointOfLocator(qso->locator) : std::nullopt;
    if (!point) {
      continue;
    }
    qsos_.push_back({.call = qso->call,
                     .locator = qso->locator,
                     .time = qso->time,
                     .km = PathBetween(projection_.Centre(), *point).km,
                     .at = projection_.Project(*point)});
  }
}

void MapWindow::BuildQsos() {
  std::vector<std::string> locators;
  locators.reserve(qsos_.size());
  for (const Qso& qso : qsos_) {
    locators.push_back(qso.locator);
  }
  DrawingLayer shading;
  const std::vector<SquareCount> counts = CountSquares(locators);
  squares_ = counts.size();
  for (const SquareCount& count : counts) {
    const auto cell = CellNamed(count.square);
    const int band = ShadeBandOf(count.qsos);
    Polyline shape = LineOf(CellOutline(projection_, cell->box), {190, 150, 90});
    shape.fill = kMapShades[band];
    shading.lines.push_back(std::move(shape));
  }
  map.SetLayer(kMapShading, std::move(shading));

  DrawingLayer dots;
  dots.markers.reserve(qsos_.size() + 2);
  const Qso* odx = nullptr;
  for (const Qso& qso : qsos_) {
    dots.markers.push_back({.at = ToDrawing(qso.at),
                            .color = kQsoDot,
                            .radius = 3,
                            .tooltip = qso.call + " - " + qso.locator + " - " + Km(qso.km) + " - " +
                                       qso.time + " UTC"});
    if (odx == nullptr || qso.km > odx->km) {
      odx = &qso;
    }
  }
  if (odx != nullptr) {
    Marker mark = dots.markers[static_cast<std::size_t>(odx - qsos_.data())];
    mark.color = kOdx;
    mark.radius = 6;
    mark.outline = kWhite;
    dots.markers.push_back(mark);
    DrawLabel name = Text(mark.at, "ODX " + odx->call + " " + Km(odx->km), kOdx,
                          {.bold = true, .points = 9}, Alignment::kLeft);
    TowardsTheCentre(name, 9);
    dots.labels.push_back(std::move(name));
    Marker last = dots.markers[qsos_.size() - 1];
    last.color = kLastQso;
    last.radius = 5;
    last.outline = kWhite;
    dots.markers.push_back(last);
  }
  map.SetLayer(kMapQsos, std::move(dots));
}

void MapWindow::BuildTyped() {
  DrawingLayer typed;
  if (const auto point = typed_.size() == 6 ? PointOfLocator(typed_) : std::nullopt) {
    const DrawPoint at = ToDrawing(projection_.Project(*point));
    const LocatorPath path = PathBetween(projection_.Centre(), *point);
    typed.lines.push_back({.points = {{0, 0}, at}, .color = kTyped, .width = 2});
    typed.markers.push_back({.at = at, .color = kTyped, .radius = 4, .tooltip = typed_});
    DrawLabel label =
        Text(at, typed_ + "  " + Km(path.km) + "  " + std::to_string(path.degrees) + Cp1252("°"),
             kTyped, {.bold = true, .points = 9}, Alignment::kLeft);
    TowardsTheCentre(label, 8);
    label.dy = 12;
    typed.labels.push_back(std::move(label));
  }
  map.SetLayer(kMapTyped, std::move(typed));
}

// Each bearing is labelled where its line leaves the view (or at its end, when the whole line is
// in view), so the labels stay in sight at any zoom; they follow every change of the view.
void MapWindow::PlaceBearingLabels() {
  constexpr double kInset = 14;  // pixels from the map's edge to a label's centre
  const double width = TwipsToPixels(map.Width());
  const double height = TwipsToPixels(map.Height());
  const DrawPoint centre = map.ToPixels({0, 0});
  DrawingLayer labels{.pinned = true};
  const bool centre_in_view = centre.x > kInset && centre.x < width - kInset && centre.y > kInset &&
                              centre.y < height - kInset;
  for (int deg = 0; centre_in_view && deg < 360; deg += 30) {
    const DrawPoint end = map.ToPixels(AtBearing(deg, kBearingLineKm));
    const double dx = end.x - centre.x;
    const double dy = end.y - centre.y;
    // The share of the line inside the inset edges, from the centre.
    double t = 1;
    if (dx > 0) {
      t = std::min(t, (width - kInset - centre.x) / dx);
    } else if (dx < 0) {
      t = std::min(t, (kInset - centre.x) / dx);
    }
    if (dy > 0) {
      t = std::min(t, (height - kInset - centre.y) / dy);
    } else if (dy < 0) {
      t = std::min(t, (kInset - centre.y) / dy);
    }
    labels.labels.push_back(Text({centre.x + t * dx, centre.y + t * dy},
                                 std::to_string(deg) + Cp1252("°"), kRing,
                                 {.bold = true, .points = 9}));
  }
  map.SetLayer(kMapBearings, std::move(labels));
}

void MapWindow::ShowStatus() {
  std::string text =
      centred_on_station_
          ? "Centro " + own_locator_
          : std::string("Locatore della stazione non impostato: centro ") + kFallbackCentre;
  text += " - " + std::to_string(qsos_.size()) + " QSO";
  if (!qsos_.empty()) {
    text += " - " + std::to_string(squares_) + " quadrati";
  }
  if (!chat_users_.empty()) {
    text += " - " + std::to_string(chat_users_.size()) + " in chat da lavorare";
  }
  if (!chat_trouble_.empty()) {
    text += " - " + chat_trouble_;
  }
  status.SetCaption(text);
}

void MapWindow::OnFitPressed() {
  double west = -kEmptyMapKm / 2;
  double east = kEmptyMapKm / 2;
  double north = -kEmptyMapKm / 2;
  double south = kEmptyMapKm / 2;
  auto include = [&](DrawPoint p) {
    west = std::min(west, p.x);
    east = std::max(east, p.x);
    north = std::min(north, p.y);
    south = std::max(south, p.y);
  };
  for (const Qso& qso : qsos_) {
    include(ToDrawing(qso.at));
  }
  if (const auto point = typed_.size() == 6 ? PointOfLocator(typed_) : std::nullopt) {
    include(ToDrawing(projection_.Project(*point)));
  }
  map.SetView(map.ViewFitting({west, north}, {east, south}, kFitMargin));
  PlaceBearingLabels();
  fitted_ = true;
}

void MapWindow::OnSavePressed() {
  const std::filesystem::path path = program_.File(kMapImageName);
  const std::optional<std::string> png =
      program_.Painter() != nullptr ? program_.Painter()->Png(map) : std::nullopt;
  if (!png) {
    program_.Message("La mappa non e' stata salvata: l'immagine non si puo' disegnare.",
                     MessageIcon::kCritical);
    return;
  }
  const IoStatus written = program_.Disk().Replace(path, *png);
  if (!written) {
    program_.Message("La mappa non e' stata salvata.\n" + Cp1252(written.Describe()),
                     MessageIcon::kCritical);
    return;
  }
  const std::u8string shown = path.u8string();
  program_.Message("La mappa e' stata salvata in " +
                   Utf8ToCp1252(std::string(shown.begin(), shown.end())));
}

}  // namespace keldra
