// The station's ways of keying the transmitter for the voice messages: the rig's CAT command
// through the Radio (Hamlib's set_ptt, or "T 1" to rigctld), a serial port's RTS or DTR line
// (the classic PTT interface: a transistor on the line), or none (the rig's VOX). Every Key
// waits for the device, bounded, so it runs on the voice player's thread only.
#pragma once

#include "radio/Radio.h"
#include "radio/Voice.h"

namespace keldra {

// The PTT of each link, made when the player first needs it.
PttMaker StationPtt(Radio& radio);

}  // namespace keldra
