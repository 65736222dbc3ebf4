// What the logger makes of the rig's and the rotator's readings, as pure functions: the frequency
// as the operator reads it, the contest mode a rig mode stands for, the band edges, the bearing a
// rotator must turn to and the CW messages with the QSO's fields filled in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keldra {

// 144300000 Hz as "144.300,00": MHz, a point, kHz, a comma, then tens of Hz.
std::string FrequencyText(double hertz);
// Inside the contest band, 144 to 146 MHz.
bool InContestBand(double hertz);
// "SSB" for USB and LSB, "CW" for CW and CWR, nothing for the modes the contest does not have.
std::optional<std::string> ContestModeOf(std::string_view rig_mode);

// Degrees brought into 0 (inclusive) to 360 (exclusive).
double NormalizedDegrees(double degrees);
// Where the rotator must turn so the antenna points at `bearing`: the antenna points `offset`
// degrees clockwise of what the rotator reports; the long path is the opposite direction.
double RotatorTarget(double bearing, double offset, bool long_path);
// The antenna's real heading from the rotator's reading.
double AntennaHeading(double rotator_azimuth, double offset);

// The fields a CW message may name.
struct CwFields {
  std::string own_call;     // {MIO}
  std::string call;         // {CALL}
  std::string serial;       // {NR}
  std::string own_locator;  // {LOC}
};
// The message with its fields filled in, upper case, single-spaced, without blanks at the ends
// (an empty field leaves no hole). Braces that name no field stay as they are.
std::string FillCwMessage(std::string_view pattern, const CwFields& fields);

}  // namespace keldra
