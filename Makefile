# Thin wrapper: scripts/ do the work so CI and people run the same steps.
BUILD := build
ASAN_BUILD := build-asan
PREFIX ?= /usr/local

.PHONY: deps desktop-deps bench-deps build run test bench bench-check install package translations clean

deps:
	@scripts/install-deps

# The headless GNOME and KDE sessions (labels gnome, kde): too large for every run.
desktop-deps:
	@scripts/install-desktop-deps

# The peers the benchmarks compare with: not needed to build or test.
bench-deps:
	@scripts/install-missing bench-deps scrot maim ksnip flameshot kde-spectacle

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCRIMBLE_WERROR=ON \
		-DSCRIMBLE_SANITIZED_BUILD=$(CURDIR)/$(ASAN_BUILD) >/dev/null
	@cmake --build $(BUILD)

run: build
	@scripts/run-scrimble $(BUILD)/scrimble

test: build
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSCRIMBLE_WERROR=ON \
		-DSCRIMBLE_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD)
	@scripts/run-tests $(BUILD)

bench: build bench-deps
	@bench/compare_peers

# Each step's ratio to its peer against bench/baseline.json; not part of test (noisy).
bench-check: build bench-deps
	@bench/bench_check --build $(BUILD)

install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	@cd $(BUILD) && cpack

# New or changed texts into the English translation's source, for Qt Linguist.
translations: deps
	@/usr/lib/qt6/bin/lupdate src -ts translations/scrimble_en.ts -locations none

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
