#!/usr/bin/env bash
# replay_type_test.sh - the replay file type as a desktop learns it: the game installed into a
# staging root, its desktop entry valid and opening replays, its shared-mime-info entry well
# formed and taken by update-mime-database, and xdg-mime naming a saved replay (known by its
# magic alone, too) application/x-zumbrix-replay with the staged database. Skipped (77) without
# the tools.
#
#   tests/dist/replay_type_test.sh BUILD_DIR PROGRAM
set -u

build=$1
program=$2
fail() { echo "FAIL: $*"; exit 1; }
for tool in desktop-file-validate xmllint update-mime-database xdg-mime mimetype; do
  command -v "$tool" > /dev/null || { echo "SKIP: no $tool"; exit 77; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage/root" cmake --install "$build" > "$stage/install.log" 2>&1 ||
  { cat "$stage/install.log"; fail "cmake --install into the staging root failed"; }
share=$(find "$stage/root" -type d -path '*/share/mime/packages' | head -1)
[ -n "$share" ] || fail "no share/mime/packages in the staging root"
share=${share%/mime/packages}

desktop=$(find "$share/applications" -name '*.desktop' | head -1)
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
grep -q '^MimeType=application/x-zumbrix-replay;$' "$desktop" || fail "no MimeType= in $desktop"
grep -q '^Exec=.* %f$' "$desktop" || fail "Exec= does not take the opened file (%f)"
for size in 16 48 256; do
  [ -f "$share/icons/hicolor/${size}x${size}/mimetypes/application-x-zumbrix-replay.png" ] ||
    fail "no ${size}px icon for the replay type"
done

xml=$(ls "$share"/mime/packages/*.xml)
xmllint --noout "$xml" || fail "$xml is not well-formed XML"
update-mime-database "$share/mime" || fail "update-mime-database refuses the staged entry"
grep -q 'application/x-zumbrix-replay' "$share/mime/types" || fail "the type is not in the database"
# The icon a theme without the type's own shows: never a program's, as a replay runs nothing.
grep -q '^application/x-zumbrix-replay:video-x-generic$' "$share/mime/generic-icons" ||
  fail "the type's generic icon is not a video's: $(cat "$share/mime/generic-icons")"

# A replay saved by the game: --replay-info reads it back, and the desktop names its type by
# its extension and, renamed, by its magic.
home="$stage/home"
mkdir -p "$home"
replay="$stage/saved.zxreplay"
HOME=$home XDG_DATA_HOME=$home/data SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
  "$program" --replay-info "$(dirname "$0")/../data/format4.zxreplay" > /dev/null ||
  fail "--replay-info cannot read the older replay"
cp "$(dirname "$0")/../data/format4.zxreplay" "$replay"
cp "$replay" "$stage/noextension"
export XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share" XDG_CURRENT_DESKTOP=X-Generic
for file in "$replay" "$stage/noextension"; do
  type=$(xdg-mime query filetype "$file")
  [ "$type" = "application/x-zumbrix-replay" ] || fail "xdg-mime says $file is '$type'"
done
echo "PASS: staged desktop entry, MIME entry and icons; xdg-mime names a saved replay"
