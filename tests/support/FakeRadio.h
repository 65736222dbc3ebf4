// A rig and rotator for model tests: records every command, answers "Prova" at once, and lets the
// test send the readings a device would.
#pragma once

#include <string>
#include <vector>

#include "radio/Radio.h"

namespace keldra {

class FakeRadio : public Radio {
 public:
  std::vector<DeviceModel> RigModels() override {
    return {{1, "Hamlib Dummy"}, {2, "Hamlib NET rigctl"}};
  }
  std::vector<DeviceModel> RotatorModels() override { return {{1, "Hamlib Dummy"}}; }
  void Connect(const DeviceLink& rig, const DeviceLink& rotator) override {
    connected_rig = rig;
    connected_rotator = rotator;
    ++connects;
  }
  void TurnTo(double azimuth) override { turned_to.push_back(azimuth); }
  void StopTurning() override { ++stops; }
  void SendMorse(const std::string& text) override { sent.push_back(text); }
  void StopMorse() override { ++morse_stops; }
  bool HasCatKeyer(int model) const override { return model != 0 && model != rig_without_keyer; }
  void Probe(const DeviceLink&, const DeviceLink&,
             std::function<void(const ProbeResult&)> done) override {
    done(probe_answer);
  }

  void Rig(LinkState state, double hertz = 0, std::string mode = {}) {
    RigChanged({state, hertz, std::move(mode)});
  }
  void Rotator(LinkState state, std::optional<double> azimuth = {}) {
    RotatorChanged({state, azimuth});
  }

  DeviceLink connected_rig;
  DeviceLink connected_rotator;
  int connects = 0;
  std::vector<double> turned_to;
  int stops = 0;
  std::vector<std::string> sent;
  int morse_stops = 0;
  int rig_without_keyer = 0;  // a model whose rig has no keyer over CAT
  ProbeResult probe_answer;
};

}  // namespace keldra
