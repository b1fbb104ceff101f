// input_seam.cpp - the recorder and the replayer in place, if any.
#include "system/input_seam.h"

#include <utility>

namespace {

InputRecorder recorder;
InputReplayer replayer;

}  // namespace

void SetInputRecorder(InputRecorder r) {
  replayer = {};
  recorder = std::move(r);
}

void SetInputReplayer(InputReplayer r) {
  recorder = {};
  replayer = std::move(r);
}

void ClearInputSeam() {
  recorder = {};
  replayer = {};
}

bool InputReplaying() { return static_cast<bool>(replayer.pump); }

const InputRecorder& CurrentInputRecorder() { return recorder; }
const InputReplayer& CurrentInputReplayer() { return replayer; }
