// regular_file.h - reading a small file whole, refusing anything that is not a regular file.
//
// A FIFO, a device, a folder or a socket where a file is expected must not block or flood the
// program: the file is opened without blocking and checked before a byte is read, and a file
// larger than the caller's limit is refused unread. Needs POSIX file calls only.
#pragma once

#include <cstddef>
#include <string>

enum class FileRead {
  Read,        // the whole file is in the text
  Missing,     // nothing at the path
  NotAFile,    // a folder, FIFO, device or socket: left alone
  TooLarge,    // longer than the limit: left unread
  Unreadable,  // there, but it could not be opened or read
};

// Reads the regular file at `path` (links followed) into `text`, which is empty unless Read.
// Any thread.
FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& text);
// A few words for a person on what `read` found ("is not a regular file").
const char* FileReadProblem(FileRead read);
