// title_video.h - V on the title (or the pad's right shoulder) saves the best game as a video in
// the player's videos folder, with a progress bar the game draws; so do V and the shoulder on a
// game of the hall of fame.
//
// The video is made by the program itself in a second process (`--replay FILE --video OUT
// --video-progress`, video_run.h), headless and offscreen, so that the window and its sound carry
// on untouched while both cores encode; the best game goes to it as a replay file in the
// temporary folder. The file is a WebM (VP9 and Opus) named by date and time in the videos folder
// ($XDG_VIDEOS_DIR, else user-dirs.dirs, else ~/Videos, made when missing), in the run's colour
// and stereo modes. The screen shows the percentage done and the time left; ESC, B or closing the
// window stops it, and the partial file is removed. The title then says for a few seconds what
// became of it. The frame log calls the screen "video". Main thread, from the frame loop on the
// title or a screen opened from it.
#pragma once

#include <string>

#include "game/replay/replay_file.h"
#include "graphics/image.h"

// Makes the video of the best game over `backdrop` (the title as it was); the line the title then
// shows for a few seconds ("Video saved: NAME", or why not).
std::string SaveBestGameVideo(const Ref<TImage>& backdrop);
// Makes the video of the games of `journal` over `backdrop`, the screen naming them `what` ("the
// best game"); the line that says what became of it, which the caller shows.
std::string SaveGameVideo(const ReplayJournal& journal, const std::string& what,
                          const Ref<TImage>& backdrop);
// The name the next video would get in `folder` at this moment: "zumbrix-2026-12-09-213000.webm".
std::string VideoFileName(const std::string& folder);
