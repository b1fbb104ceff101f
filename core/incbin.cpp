// incbin.cpp - the embedded-file registry. It is filled by static constructors, so its head is
// constant-initialised and needs no constructor of its own to have run first.
#include "core/incbin.h"

#include <mutex>

namespace {

struct Record {
  std::string name;
  const unsigned char* bytes;
  std::size_t size;
  Record* next;
};

constinit Record* head = nullptr;

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

int RegisterIncbin(const std::string& name, const void* bytes, std::size_t size) {
  std::lock_guard<std::mutex> hold(RegistryLock());
  for (Record* r = head; r; r = r->next) {
    if (r->name == name) return 0;
  }
  head = new Record{name, static_cast<const unsigned char*>(bytes), size, head};
  return 1;
}

IncbinFile FindIncbin(const std::string& name) {
  std::lock_guard<std::mutex> hold(RegistryLock());
  for (Record* r = head; r; r = r->next) {
    if (r->name == name) return {r->bytes, r->size};
  }
  return {nullptr, 0};
}
