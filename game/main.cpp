// main.cpp - the program's entry point.
#include <cstdio>

#include "core/app.h"
#include "core/incbin.h"

namespace {

int ProgramMain() {
  std::printf("Zumbrix - 3D Edition\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunApplication(argc, argv, ProgramMain); }
