#pragma once

// The program's batch command, run from main before any window machinery exists (it
// needs no display): see SmoothSkinArguments for its command line.
namespace smoothskincommand {

// True when the command line asks for the batch command rather than the window.
bool AskedFor(int argc, char** argv);
// Runs it and returns the program's exit status.
int Run(int argc, char** argv);

} // namespace smoothskincommand
