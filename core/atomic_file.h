// atomic_file.h - saving a file so that it is never seen half written.
//
// Every save of the program goes through WriteFileAtomically: the new contents are written to
// "<path>.new" beside the target, flushed and synced, renamed over the target, and the folder is
// synced, so a program killed or a machine losing power mid-save leaves either the old file whole
// or the new one. A path that is a symbolic link is written through to the file the link names
// (beside that file), so the link stays a link. Needs POSIX file calls only.
#pragma once

#include <string>
#include <string_view>

// Replaces the file at `path` (or, for a symbolic link, the file it leads to) with `bytes`; false
// (the old file untouched, no part file left) when the folder is missing or cannot be written or
// the links go round in a loop. Prints nothing. Any thread; one writer per path.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// Why WriteFileAtomically(`path`) could not be done now, in a few words: "it is a folder", "the
// links go round in a loop", or the system's words for why the part file beside the target cannot
// be made (a part file left by a killed save is no hindrance). Empty when it could. Leaves no file
// behind. Any thread.
std::string AtomicWriteProblem(const std::string& path);

// Whether a file is at `path` (links followed) that its owner marked read-only (no write
// permission for anyone) or that this process may not write: a file not to be replaced. False
// when nothing is there. Any thread.
bool IsReadOnlyFile(const std::string& path);

// The file `path` names once every symbolic link on its last component is followed (a relative
// link counts from the link's own folder); `path` itself when it is no link. Empty when the
// links loop. The file at the end need not exist. Any thread.
std::string FollowLinks(const std::string& path);

// Creates `folder` and its missing parents, each new one with `mode` (0700 for per-user folders);
// true when the folder exists afterwards. Any thread.
bool CreateFolders(const std::string& folder, unsigned mode);
