// Replays: the real game, from its very first frame, run headless from a script of
// button presses, with a fixed random seed. Frames can be saved as pictures and every
// sound and track started is logged, so a scene plays the same every time: for tests,
// for bug reports and for the pictures in the docs.
//
// A script is plain text, one command a line; blank lines and lines starting with #
// are skipped. Buttons are A, B, Up, Down, Left, Right and Start (any case); counts
// are frames of 25 ms.
//
//   seed N            srand(N) now (a replay starts with seed 1)
//   home DIR          the score file goes under DIR/.Quillbarrow/ (DIR is made if
//                     missing); without it the home is a fresh temporary folder,
//                     removed afterwards, so that every replay starts as a first run
//   score N           writes N into the score file as a finished game would: put it
//                     before the boot frame (frame 2) reads the file
//   press BUTTON [N]  holds the button for N frames (default 1), lets go and runs the
//                     frame that sees the release, where its action happens (that
//                     frame still shows the screen it left: wait 1 to see the next)
//   hold BUTTON N     holds the button for N frames and lets go; the next frame run
//                     sees the release
//   down BUTTON       puts the button down, running no frame
//   up BUTTON         lets the button go, running no frame
//   wait [N]          runs N frames (default 1)
//   scale N           magnification of the shots that follow (default 2, the window)
//   shot FILE         saves the picture the last frame showed as a PNG, in the output
//                     directory unless FILE is an absolute path
//
// The log has one line per event, numbered by the frame it happened in (the first
// frame of the replay is 1): "12 sound click", "2 music menu", "40 music stop".
#pragma once
#include <string>

// Runs script from wherever the game stands: in a fresh process, its very first frame
// (a second replay in the same process goes on from where the first left off, with
// every button up). Shots go in outDir (made if missing). The log of sounds and music
// is appended to *log. Returns an empty string, or the first error ("line 3: unknown
// button 'X'"), after which nothing more of the script runs.
std::string RunReplay(const std::string& script, const std::string& outDir, std::string* log);
