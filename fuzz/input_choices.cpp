// Fuzz target: arbitrary bytes as a replay's choices section (the key and pad bindings a recorded
// game was played with, and whether losing the focus paused it). Decoding must accept or refuse
// them, never crash or hang; the choices it accepts hold key codes and pad buttons that exist,
// and written again they decode to the same choices and the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "game/config/key_bindings.h"
#include "game/replay/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputChoices choices;
  if (!DecodeInputChoices(std::vector<std::uint8_t>(data, data + size), choices)) return 0;
  for (int key : choices.bindings.keys) {
    if (key < 0 || key > 255) std::abort();
  }
  for (int pad : choices.bindings.pads) {
    if (pad < kNoButton || pad > 15) std::abort();
  }
  const std::vector<std::uint8_t> once = EncodeInputChoices(choices);
  InputChoices again;
  if (!DecodeInputChoices(once, again) || !(again == choices)) std::abort();
  if (EncodeInputChoices(again) != once) std::abort();
  return 0;
}
