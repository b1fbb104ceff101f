// input_seam.cpp - the recorder and the replayer in place, if any.
#include "system/input_seam.h"

#include <utility>

#include "core/main_thread.h"

namespace {

InputRecorder recorder;
InputReplayer replayer;

}  // namespace

void SetInputRecorder(InputRecorder r) {
  ZX_CHECK_MAIN_THREAD();
  replayer = {};
  recorder = std::move(r);
}

void SetInputReplayer(InputReplayer r) {
  ZX_CHECK_MAIN_THREAD();
  recorder = {};
  replayer = std::move(r);
}

void ClearInputSeam() {
  ZX_CHECK_MAIN_THREAD();
  recorder = {};
  replayer = {};
}

bool InputReplaying() { return static_cast<bool>(replayer.pump); }

const InputRecorder& CurrentInputRecorder() { return recorder; }
const InputReplayer& CurrentInputReplayer() { return replayer; }
