// virtual_window.cpp - registry records without an SDL window behind them.
#include "platform/virtual_window.h"

#include "platform/window_registry.h"

namespace {

// SDL numbers its windows from 1 upwards; these sit far above anything it will reach.
constexpr std::uint32_t kFirstVirtualId = 0x7F000000u;
std::uint32_t next_id = kFirstVirtualId;

}  // namespace

std::uint32_t plat_virtual_window_create(int width, int height) {
  std::uint32_t id = next_id++;
  if (next_id == 0) next_id = kFirstVirtualId;
  plat_window_adopt_virtual(id, width, height);
  return id;
}

bool plat_virtual_window_is(std::uint32_t window) {
  PlatWindowRecord* record = plat_window_record(window);
  return record && record->sdl == nullptr;
}
