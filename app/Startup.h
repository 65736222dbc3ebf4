// The start both mains run, whatever draws the windows: the contest folder chosen from the command
// line, made ready and taken for this copy alone; the --adif command on it; and the program's
// windows started on the services the front end brings.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "app/CommandLine.h"
#include "system/InstanceLock.h"

namespace keldra {

class Background;
class DrawingPainter;
class Program;
class Radio;

// The contest folder this copy works in, or why there is none (a text for the operator, UTF-8).
struct StartFolder {
  std::filesystem::path folder;
  std::string problem;
};

// Chooses the folder (`executable_folder` is where the program stands), makes it ready and takes
// its lock, then removes what a crash left half-written there; nothing is opened when it fails.
StartFolder TakeContestFolder(const CommandLine& line,
                              const std::filesystem::path& executable_folder, InstanceLock& lock);

// `keldra --adif FILE.adi`: writes the ADIF of the chosen folder's contest without taking the
// folder (it only reads it); the exit status, with what to tell on `out` and `err`.
int RunAdif(const CommandLine& line, const std::filesystem::path& executable_folder,
            std::ostream& out, std::ostream& err);

// Starts the program's windows on the front end's services; `quit` ends the front end's event
// loop when the operator ends the program. False when the program ended already at its start.
bool StartProgram(Program& program, Radio& devices, Background& background, DrawingPainter& painter,
                  std::function<void()> quit);

}  // namespace keldra
