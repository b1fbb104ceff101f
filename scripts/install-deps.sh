#!/usr/bin/env bash
# Installs the Debian packages the project needs, and nothing when all are present.
# This list is the only place that names them.
#   scripts/install-deps.sh             what building, running and testing need
#   scripts/install-deps.sh coverage    that, and the coverage report's tools (make coverage)
#   scripts/install-deps.sh measure     that, and what scripts/measure-click-to-sound.sh,
#                                       scripts/frame-timing-run.sh,
#                                       scripts/count_mutable_globals.py and
#                                       scripts/video-bench.sh run
#   scripts/install-deps.sh peer        that, and SDL_mixer with a C compiler, for the mixer's
#                                       peer figure (scripts/mixer-peer-bench.sh)
set -euo pipefail

packages=(
  # toolchain
  g++ make cmake pkg-config clang libclang-rt-14-dev clang-format git
  # libraries
  libsdl2-dev libpng-dev zlib1g-dev libvorbis-dev libogg-dev
  # FFmpeg's libraries, for the videos made from replays
  libavcodec-dev libavformat-dev libswscale-dev libswresample-dev libavutil-dev
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # Mesa's software OpenGL, behind SDL's offscreen video driver
  libgl1-mesa-dri libegl1 libegl-mesa0 libgl-dev libegl-dev
  # make package (CPack's DEB generator and its library-dependency lookup), and the tests that
  # validate the desktop entry and the AppStream metainfo
  dpkg-dev file desktop-file-utils appstream
  # the test of the installed replay file type (update-mime-database, xmllint, xdg-mime and the
  # mimetype program it asks on a desktop it does not know)
  shared-mime-info libxml2-utils xdg-utils libfile-mimeinfo-perl
  # the tests that play in a window of a private X server and then kill it (xprop, xwininfo)
  xvfb xauth x11-utils
)

# Optional groups, each installed only when named on the command line.
coverage_packages=(gcovr)
measure_packages=(xvfb xauth xdotool python3 libxtst6 gcc libc6-dev python3-clang-14 ffmpeg)
peer_packages=(libsdl2-mixer-dev gcc libc6-dev)

for group in "$@"; do
  case "$group" in
    coverage) packages+=("${coverage_packages[@]}") ;;
    measure) packages+=("${measure_packages[@]}") ;;
    peer) packages+=("${peer_packages[@]}") ;;
    *) echo "install-deps.sh: unknown group '$group' (known: coverage, measure, peer)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
