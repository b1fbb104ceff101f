// main.cpp - Zumbrix - 3D Edition: start-up, the frame loop until the player quits, and the exit
// that saves the best score. Run from its own folder, where data/ holds the sounds and the score.
#include "core/app.h"
#include "game/frame_loop.h"
#include "game/startup.h"

namespace {

int GameMain() {
  gamestartup();
  while (gameframe()) {
  }
  gameshutdown();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunApplication(argc, argv, GameMain); }
