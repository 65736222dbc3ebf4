// The map window ("Mappa"): the contest on a map around the station. An azimuthal equidistant
// map centred on the station's locator (so a line from the centre is a bearing and the distance
// from the centre is the QRB) with the coastlines and borders, the rings of distance and the
// bearings, the Maidenhead fields and squares, the worked squares shaded by their QSOs, a dot per
// QSO (the ODX named, the last QSO highlighted) and the line to the locator being typed in the
// main window. It follows the contest while open: the main window calls Follow whenever its
// records, its locator field or the station's locator change, and only what changed is built
// again. Zooming and panning are the front end's; "Adatta" fits every QSO. The users of the
// ON4KST chat not yet worked stand on it too, apart from the QSOs, and a click on one takes it to
// the entry row as the chat's list does.
#pragma once

#include <iterator>
#include <string>
#include <vector>

#include "geo/MapProjection.h"
#include "ui/ChatRoster.h"
#include "ui/Program.h"
#include "widgets/Buttons.h"
#include "widgets/Drawing.h"
#include "widgets/Label.h"

namespace keldra {

// The layers of the map, bottom to top.
enum MapLayer : std::size_t {
  kMapLand,
  kMapShading,
  kMapOutline,
  kMapFields,
  kMapSquares,
  kMapSquareNames,
  kMapRings,
  kMapQsos,
  kMapChat,  // the chat's users not yet worked
  kMapTyped,
  kMapBearings,  // pinned: the bearings' labels where their lines leave the view
  kMapLegend,
};

inline constexpr const char* kMapImageName = "keldra_qrp_mappa.png";

// The fill of a worked square, by its shade band: paler for fewer QSOs.
inline constexpr Color kMapShades[] = {
    {255, 236, 170}, {255, 205, 120}, {250, 160, 50}, {225, 95, 20}};
static_assert(std::size(kMapShades) == std::size(kShadeBands));
// The chat's users not yet worked: apart from the QSOs' blue dots.
inline constexpr Color kMapChatUser{0, 150, 60};

class MapWindow : public Form {
 public:
  explicit MapWindow(Program& program);

  Drawing map{*this, "Map"};
  Label status{*this, "MapStatus"};
  CommandButton zoom_in_button{*this, "ZoomInButton", "+"};
  CommandButton zoom_out_button{*this, "ZoomOutButton", "-"};
  CommandButton fit_button{*this, "FitButton", "Adatta"};
  CommandButton save_button{*this, "SaveImageButton", "Salva immagine"};
  CommandButton close_button{*this, "CloseButton", "Chiudi"};

  // Reads the main window and the log again and rebuilds what changed there.
  void Follow();
  // The same after a change of the log: a correction is read again from the first QSO.
  void FollowLog(const LogEvent& event);
  void OnFitPressed();
  void OnSavePressed();
  // Reads the chat's users again (the chat window calls it whenever its list changed); the layer
  // is built again only when the users to draw differ from those drawn.
  void FollowChat();
  // The chat's users the map shows: not yet worked, with a locator it can place, by call.
  const std::vector<ChatRow>& ChatUsers() const { return chat_users_; }

  // One QSO as the map shows it.
  struct Qso {
    std::string call;
    std::string locator;
    std::string time;
    long long km = 0;
    MapPoint at;
  };
  const std::vector<Qso>& Qsos() const { return qsos_; }
  // The map coordinates of a projected point (y grows southwards on the screen).
  static DrawPoint ToDrawing(const MapPoint& point) { return {point.x, -point.y}; }
  // Whether the centre is the station's own locator (false: it is not set or not valid).
  bool CentredOnStation() const { return centred_on_station_; }

 protected:
  void OnLoad() override;
  void OnResize() override { Layout(); }

 private:
  void Layout();
  void BuildBackground();
  void ReadQsos();
  void BuildQsos();
  void BuildTyped();
  void PlaceBearingLabels();
  void ShowStatus();
  void BuildChat();
  void OnMarkerClicked(std::size_t layer, std::size_t marker);

  Program& program_;
  std::string own_locator_;
  bool centred_on_station_ = false;
  AzimuthalProjection projection_{{}};
  std::size_t entries_read_ = 0;
  std::vector<Qso> qsos_;
  std::string typed_;
  std::size_t squares_ = 0;
  std::vector<ChatRow> chat_users_;
  // What the status says after a click on a chat user that could not reach the entry row.
  std::string chat_trouble_;
  bool built_ = false;
  // The view is the one "Adatta" gave and the operator has not moved it: it keeps fitting.
  bool fitted_ = false;
};

}  // namespace keldra
