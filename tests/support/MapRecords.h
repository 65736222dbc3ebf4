// QSO records for the map's tests: spread over Italy and its neighbours, most of them near the
// station, the same on every system (the Qt and the Windows painters draw the same map).
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "data/ChatProtocol.h"

namespace keldra::testing {

// A locator of a point, to six characters.
inline std::string LocatorAt(double latitude, double longitude) {
  const double lon = longitude + 180;
  const double lat = latitude + 90;
  std::string l(6, ' ');
  l[0] = static_cast<char>('A' + static_cast<int>(lon / 20));
  l[1] = static_cast<char>('A' + static_cast<int>(lat / 10));
  l[2] = static_cast<char>('0' + static_cast<int>(std::fmod(lon, 20) / 2));
  l[3] = static_cast<char>('0' + static_cast<int>(std::fmod(lat, 10)));
  l[4] = static_cast<char>('A' + static_cast<int>(std::fmod(lon, 2) * 12));
  l[5] = static_cast<char>('A' + static_cast<int>(std::fmod(lat, 1) * 24));
  return l;
}

// Records of `qsos` QSOs spread over Italy and its neighbours, most of them near the station.
inline std::string Records(int qsos) {
  std::mt19937 random(7);
  std::normal_distribution<double> lat(43.5, 2.2);
  std::normal_distribution<double> lon(12.5, 3.5);
  std::string records;
  for (int i = 1; i <= qsos; ++i) {
    const std::string serial = std::to_string(1000 + i).substr(1);
    records += "230716;0" + std::to_string(7 + i * 6 / qsos) + "15;QX" + std::to_string(i % 10) +
               "A" + std::to_string(i) + ";1;59;" + serial + ";59;012;;" +
               LocatorAt(std::clamp(lat(random), 36.0, 49.0), std::clamp(lon(random), 5.0, 21.0)) +
               ";100;;;;\r\n";
  }
  return records;
}

inline ChatFrame ChatUserFrame(std::string call, std::string locator) {
  ChatFrame frame;
  frame.kind = ChatFrameKind::kUserListed;
  frame.room = 2;
  frame.user = {std::move(call), "Op", std::move(locator), 0};
  return frame;
}

// The user list of a chat room of `users` stations spread as the QSOs are, none in the records.
inline std::vector<ChatFrame> ChatRoomUsers(int users) {
  std::mt19937 random(11);
  std::normal_distribution<double> lat(44.5, 2.5);
  std::normal_distribution<double> lon(11.5, 4);
  std::vector<ChatFrame> frames;
  for (int i = 1; i <= users; ++i) {
    frames.push_back(ChatUserFrame(
        "QY" + std::to_string(i % 10) + "C" + std::to_string(i),
        LocatorAt(std::clamp(lat(random), 36.0, 49.0), std::clamp(lon(random), 5.0, 21.0))));
  }
  return frames;
}

}  // namespace keldra::testing
