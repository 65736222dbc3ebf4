// What the start-up windows share. At start-up the main window stays hidden while the start
// window or the station data window stands in for it; when the operator closes the last of these
// without going on, nothing of the program would be left on screen, so the program ends instead
// of running on unseen.
#pragma once

namespace keldra {

class Program;

// Ends the program when neither the main window nor a start-up window is visible.
void EndIfNothingShown(Program& program);

}  // namespace keldra
