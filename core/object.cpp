// object.cpp - the root object's default ordering and text.
#include "core/object.h"

#include <cstdint>
#include <cstdio>

int TObject::Compare(const TObject* other) const {
  auto a = reinterpret_cast<std::uintptr_t>(this);
  auto b = reinterpret_cast<std::uintptr_t>(other);
  return a == b ? 0 : (a < b ? -1 : 1);
}

std::string TObject::ToString() const {
  char text[32];
  std::snprintf(text, sizeof text, "%p", static_cast<const void*>(this));
  return text;
}
