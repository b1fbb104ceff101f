// stereo_mode.cpp - the chosen stereo mode and the one in use.
#include "graphics/stereo_mode.h"

#include <cstring>
#include <initializer_list>

#include "core/main_thread.h"
#include "graphics/draw2d.h"

namespace {

StereoMode chosen = StereoMode::Off;
StereoMode in_use = StereoMode::Off;

}  // namespace

void SetStereoMode(StereoMode mode) {
  ZX_CHECK_MAIN_THREAD();
  chosen = mode;
  // With no frame being drawn there is nothing to keep whole.
  if (!TRar2AGraphics::Current()) in_use = mode;
}

StereoMode ChosenStereoMode() { return chosen; }
StereoMode StereoModeInUse() { return in_use; }

bool AdoptChosenStereoMode() {
  if (in_use == chosen) return false;
  in_use = chosen;
  return true;
}

const char* StereoModeName(StereoMode mode) {
  switch (mode) {
    case StereoMode::Off:
      return "off";
    case StereoMode::SideBySide:
      return "side-by-side";
    case StereoMode::SideBySideHalf:
      return "side-by-side-half";
    case StereoMode::TopBottom:
      return "top-bottom";
  }
  return "off";
}

bool StereoModeFromName(const char* name, StereoMode* mode) {
  for (StereoMode each : {StereoMode::Off, StereoMode::SideBySide, StereoMode::SideBySideHalf,
                          StereoMode::TopBottom}) {
    if (name && std::strcmp(name, StereoModeName(each)) == 0) {
      *mode = each;
      return true;
    }
  }
  return false;
}
