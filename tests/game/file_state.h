// A file's bytes and modification time, to tell that a run left a file exactly as it was.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

struct FileState {
  std::string bytes;
  std::filesystem::file_time_type written;
  bool operator==(const FileState&) const = default;
};

inline FileState StateOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()},
          std::filesystem::last_write_time(path)};
}
