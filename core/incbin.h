// incbin.h - the registry of files embedded in the executable.
//
// The build puts a file's bytes into the program (cmake/Embed.cmake) together with a static
// IncbinEntry that registers them before main runs. The stream layer then opens them read-only
// through the URL "incbin::" + name. The registry is a list with new entries at its head; a name
// is registered once and the first registration stays.
#pragma once

#include <cstddef>
#include <string>

struct IncbinFile {
  const unsigned char* bytes;
  std::size_t size;
};

// Registers `size` bytes under `name` (compared exactly, case included). Returns 1 when added,
// 0 when that name is registered already. The bytes must outlive the program's use of them.
int RegisterIncbin(const std::string& name, const void* bytes, std::size_t size);

// The file registered under `name`, or {nullptr, 0} when there is none.
IncbinFile FindIncbin(const std::string& name);

// A static object of this type registers an embedded file while the program starts.
struct IncbinEntry {
  IncbinEntry(const char* name, const unsigned char* begin, const unsigned char* end) {
    RegisterIncbin(name, begin, static_cast<std::size_t>(end - begin));
  }
};
