# The commands a newcomer types. Everything builds with CMake into a build folder of its own:
#   build/            optimised with debug info (make, make run, make test, make bench)
#   build-address/    AddressSanitizer with UndefinedBehaviorSanitizer (make test SAN=address)
#   build-thread/     ThreadSanitizer (make test SAN=thread)
#   build-fuzz/       clang with libFuzzer (make fuzz)
#   build-coverage/   gcc's coverage instrumentation, unoptimised (make coverage)

SAN ?=
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
DESTDIR ?=
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?=

ifeq ($(SAN),)
  BUILD := build
  CMAKE_ARGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
else ifeq ($(SAN),address)
  BUILD := build-address
  CMAKE_ARGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=address
else ifeq ($(SAN),thread)
  BUILD := build-thread
  CMAKE_ARGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_SANITIZE=thread
else
  $(error SAN is address or thread)
endif

.PHONY: all deps build run test bench fuzz coverage format format-check assets-preview clean soak \
  soak-gl install uninstall package

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: deps
	@$(MAKE) --no-print-directory build
	$(BUILD)/bin/zumbrix

test: deps
	@$(MAKE) --no-print-directory build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Installs under $(DESTDIR)$(PREFIX): a /usr prefix takes Debian's layout for games (games/zumbrix,
# share/games/zumbrix), any other bin/ and share/zumbrix. make uninstall removes the same files.
install: deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD)

uninstall:
	cmake -S . -B $(BUILD) $(CMAKE_ARGS) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	DESTDIR="$(DESTDIR)" cmake -DBUILD=$(BUILD) -P cmake/Uninstall.cmake

# A Debian package of the /usr install: $(BUILD)/zumbrix_<version>_<arch>.deb
package: deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS) -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && cpack

bench: deps
	@$(MAKE) --no-print-directory build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; $$b || exit 1; done

# Each fuzz target runs for FUZZ_SECONDS on a corpus folder of its own under build-fuzz/corpus;
# with FUZZ_RUNS=n each runs n executions instead (make fuzz FUZZ_RUNS=1000000).
ifeq ($(FUZZ_RUNS),)
  FUZZ_LIMIT := -max_total_time=$(FUZZ_SECONDS)
  FUZZ_WHAT := for $(FUZZ_SECONDS) s
else
  FUZZ_LIMIT := -runs=$(FUZZ_RUNS)
  FUZZ_WHAT := for $(FUZZ_RUNS) runs
endif

fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZX_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build build-fuzz -j $(JOBS)
	@for f in build-fuzz/bin/fuzz_*; do \
	  name=$$(basename $$f); mkdir -p build-fuzz/corpus/$$name; \
	  echo "== $$name $(FUZZ_WHAT)"; \
	  $$f $(FUZZ_LIMIT) -print_final_stats=1 build-fuzz/corpus/$$name || exit 1; \
	done

# The whole suite on an instrumented build, then build-coverage/coverage.html and the table of line
# and branch coverage per layer (build-coverage/coverage-layers.txt). Counts start afresh each run.
# A failing test still gets its report, and then fails the target.
coverage:
	@scripts/install-deps.sh coverage
	cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DZX_COVERAGE=ON
	cmake --build build-coverage -j $(JOBS)
	find build-coverage -name '*.gcda' -delete
	cd build-coverage && ctest --output-on-failure -j $(JOBS); status=$$?; \
	  cd .. && scripts/coverage-report.sh build-coverage && exit $$status

# A contact sheet of every generated sprite frame, enlarged and labelled: build/assets-preview.png
assets-preview: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target zx_assets_preview

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# Fails, naming each file and line, where a source is not formatted as .clang-format says (CI).
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-address build-thread build-fuzz build-coverage

# The long run of the game: 10^6 frames on the null graphics driver (500,000 of scripted play,
# 500,000 of attract play), reporting frame rate, heap in use at each wave's start, resident
# memory and its peak, the largest entity counts, a state hash every 10,000 frames, and the size
# of each phase's recording (every game, as --record keeps them) as it grows.
# SOAK_PLAY and SOAK_ATTRACT change the lengths; `make soak-gl` runs the old 250,000 frames on
# OpenGL, with screenshots in $(BUILD)/soak.
SOAK_PLAY ?= 500000
SOAK_ATTRACT ?= 500000

soak: deps
	@$(MAKE) --no-print-directory build
	SDL_AUDIODRIVER=dummy $(BUILD)/bin/bench_game_soak --null 1 --record 1 \
	  --play $(SOAK_PLAY) --attract $(SOAK_ATTRACT)

# The headless flip finishes each frame, so the software GL cannot pile up unflushed frames.
soak-gl: deps
	@$(MAKE) --no-print-directory build
	mkdir -p $(BUILD)/soak
	SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy $(BUILD)/bin/bench_game_soak \
	  --play 50000 --attract 200000 --screenshots $(BUILD)/soak
