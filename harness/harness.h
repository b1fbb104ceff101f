// harness.h - the headless harness: the real game, driven frame by frame.
//
// The harness runs the very start-up, frame loop and shutdown the program runs, on a virtual
// clock (every sleep, the paced flip's included, moves time on instead of waiting), with a fixed
// random seed and scripted input. Input goes through SDL's own event queue (platform/inject.h),
// so the whole input path runs; the game's globals (globals.h) are there to read and set. Sound
// plays into SDL's dummy device unless SDL_AUDIODRIVER names another.
//
// A flip hook is the harness's seam: at every FlipScreen, before the frame is presented, it
// counts the flip, saves a requested screenshot, releases the keys and buttons of taps made for
// the previous frame, and runs the test's per-flip callback. Inner loops that flip (the splash
// screen, the pause screen) are therefore driven the same way as the frame loop.
//
//   HarnessStart({});                       // start-up; the splash is clicked away at once
//   HarnessRun(10);                         // ten passes of the frame loop (title screen)
//   HarnessClick(1);  HarnessRun(1);        // a left click: the get-ready sequence begins
//   HarnessScreenshot("getready.png");  HarnessRun(100);
//   HarnessStop();                          // the program's exit path (saves the best score)
//
// One harness run at a time; HarnessStart may follow HarnessStop in the same process.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct HarnessOptions {
  std::int32_t seed = 20261208;
  // False: the splash screen is ended by a click at its first frame. True: it runs its course
  // (350 frames) unless the test clicks.
  bool full_splash = false;
  // Attach a virtual joystick (4 axes, 4 buttons) on port 0 before start-up. False: none, and
  // the one an earlier run in this process attached is pulled out, so port 0 is free for a pad.
  bool joystick = true;
  // The folder to run in, which holds data/; empty: the test executable's folder.
  std::string folder;
  // False runs on the real clock, paced as the player sees it (for timing start-up).
  bool virtual_clock = true;
  // True runs on the null graphics driver: nothing is drawn, screenshots come out black, and
  // frames cost only the game's own work. Input reaches the game the same way. The environment
  // variable ZX_HARNESS_GRAPHICS=opengl overrides it, to watch such a test in a real window.
  bool null_graphics = false;
};

void HarnessStart(const HarnessOptions& options);
// All of HarnessStart but the start-up: the clock, the folder, the joystick and the flip hook,
// for a test that runs the program's own entry (RecordGame, say) under scripted input. Input is
// given from a HarnessOnFlip callback; HarnessFrame and HarnessStop do nothing afterwards.
void HarnessPrepare(const HarnessOptions& options);
// One pass of the frame loop; false once the game has asked to end (then call HarnessStop).
bool HarnessFrame();
// Up to `frames` passes; stops early when the game asks to end. Returns the passes run.
int HarnessRun(int frames);
// Runs passes until `done()` holds after one, at most `limit`; returns the passes run.
int HarnessRunUntil(const std::function<bool()>& done, int limit);
// The program's exit path (music stopped, 500 ms, best score saved) when HarnessStart ran; ends
// the per-flip callback and lets go of the keys, buttons and joystick either way.
void HarnessStop();
bool HarnessRunning();

// Flips since HarnessStart (start-up and splash included).
int HarnessFlips();
// Called at every flip, before the frame is presented; null removes it. Set before HarnessStart
// it drives the splash screen too; HarnessStop removes it.
void HarnessOnFlip(std::function<void()> callback);
// Saves the next presented frame as a PNG file (in a stereo mode the stereo picture).
void HarnessScreenshot(const std::string& path);

// Input for the coming frame. A tap is a press now and a release at the next flip; hits are
// counted whether or not the key is still down when the game asks.
void HarnessKey(int vkey, bool down);  // Windows virtual-key codes: 27 ESC, 32 Space, 112 F1 ...
void HarnessTapKey(int vkey);
void HarnessMouseButton(int button, bool down);  // 1 left, 2 right
void HarnessClick(int button);
void HarnessMoveMouse(int x, int y);
void HarnessJoyAxis(int axis, int value);  // axis 0 x, 1 y; -32768 .. 32767
void HarnessJoyButton(int button, bool down);
void HarnessTapJoyButton(int button);  // held until the next flip, so that a read sees it
void HarnessCloseWindow();
void HarnessDropFile(const std::string& path);  // as a file manager drops one on the window
void HarnessFocus(bool gained);
