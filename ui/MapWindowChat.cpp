// The map's side of the ON4KST chat: the room's users not yet worked, each a dot with its call,
// and a click on one taking it to the entry row by the chat window's own path.
#include <algorithm>

#include "system/CodePage.h"
#include "ui/ChatWindow.h"
#include "ui/MapWindow.h"

namespace keldra {

void MapWindow::FollowChat() {
  std::vector<ChatRow> users;
  if (ChatWindow* chat = program_.Find<ChatWindow>()) {
    for (const ChatRow& row : chat->Rows()) {
      if (!row.worked && PointOfLocator(row.locator)) {
        users.push_back(row);
      }
    }
  }
  // By call, so that sorting the chat's list differently changes nothing here.
  std::sort(users.begin(), users.end(),
            [](const ChatRow& a, const ChatRow& b) { return a.call < b.call; });
  if (users == chat_users_) {
    return;
  }
  chat_users_ = std::move(users);
  BuildChat();
  ShowStatus();
}

void MapWindow::BuildChat() {
  DrawingLayer layer;
  layer.markers.reserve(chat_users_.size());
  layer.labels.reserve(chat_users_.size());
  for (const ChatRow& user : chat_users_) {
    const DrawPoint at = ToDrawing(projection_.Project(*PointOfLocator(user.locator)));
    const std::string km = user.bearing ? std::to_string(user.km) + " km" : "? km";
    layer.markers.push_back({.at = at,
                             .color = kMapChatUser,
                             .radius = 4,
                             .tooltip = user.call + " - " + user.locator + " - " + km + " - " +
                                        std::to_string(user.points) + " punti - in chat",
                             .outline = kWhite});
    layer.labels.push_back({.at = at,
                            .text = user.call,
                            .color = kMapChatUser,
                            .font = {.points = 8},
                            .align = Alignment::kLeft,
                            .dx = 6,
                            .dy = -8});
  }
  map.SetLayer(kMapChat, std::move(layer));
}

void MapWindow::OnMarkerClicked(std::size_t layer, std::size_t marker) {
  ChatWindow* chat = program_.Find<ChatWindow>();
  if (layer != kMapChat || marker >= chat_users_.size() || chat == nullptr) {
    return;
  }
  const bool taken = chat->Take(chat_users_[marker]);
  chat_trouble_ = taken ? "" : Cp1252("riga del log in uso: completare o svuotare il QSO");
  ShowStatus();
}

}  // namespace keldra
