BUILD ?= build
JOBS ?= $(shell nproc)
APP = $(abspath $(BUILD))/src/tornak-cabrillo
# The window reads and writes ini.txt and the Cabrillo file in its current folder.
RUN_DIR = $(BUILD)/run

.PHONY: all deps build test test-sanitize bench run screenshot format format-check clean package \
	windows test-windows screenshot-windows

all: build

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(BUILD)-sanitize -DCMAKE_BUILD_TYPE=Debug -DTORNAK_SANITIZE=ON
	cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# Speed and memory of a Release build against the goals: whole exports of generated logs
# of 10,000 to 1,000,000 lines, the codec floor, the window's start-up and log load.
# BENCH_ARGS passes options on, e.g. BENCH_ARGS="--runs 3 --sizes 10000,100000".
bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS) --target tornak-bench
	build-bench/bench/tornak-bench $(BENCH_ARGS)

# The libFuzzer targets of fuzz/, each run for FUZZ_SECONDS from inside build-fuzz/, so that
# a file written to a wrong, relative place lands there. Their corpora grow in
# build-fuzz/corpus/ from one run to the next; inputs that break something are kept in
# build-fuzz/crashes/ (see fuzz/README.md).
FUZZ_SECONDS ?= 180
FUZZ_TARGETS = fuzz_log fuzz_settings fuzz_export fuzz_zlog
# Qt and ICU are built without frame pointers, so the stacks AddressSanitizer records for
# each allocation end in junk that is new every time; its stack store then grows without
# end and takes most of the time after a few minutes. The faults are found all the same;
# replay an input without this to see where its memory came from.
FUZZ_ASAN_OPTIONS ?= malloc_context_size=0
.PHONY: fuzz
fuzz:
	./scripts/install-deps.sh --fuzz
	CXX=clang++ cmake -S . -B build-fuzz -DTORNAK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	@mkdir -p build-fuzz/crashes
	@status=0; for target in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/corpus/$$target; \
		cp -n fuzz/corpus/$$target/* build-fuzz/corpus/$$target/; \
		echo "== $$target, $(FUZZ_SECONDS) s"; \
		(cd build-fuzz && ASAN_OPTIONS=$(FUZZ_ASAN_OPTIONS) \
			fuzz/$$target corpus/$$target -dict=../fuzz/zlog.dict \
			-max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
			-artifact_prefix=crashes/$$target- -print_final_stats=1) || status=1; \
	done; exit $$status

# Opens the window; without a display, converts the bundled example instead.
run: build
	@mkdir -p $(RUN_DIR)
	@if [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
		cd $(RUN_DIR) && $(APP); \
	else \
		echo "画面が無いためウィンドウを開けません。代わりに同梱の例を convert コマンドで変換します:"; \
		echo "  tornak-cabrillo convert examples/zlog-export.txt --settings examples/ini.txt"; \
		$(APP) convert examples/zlog-export.txt --settings examples/ini.txt \
			--output-dir $(RUN_DIR) && iconv -f CP932 -t UTF-8 $(RUN_DIR)/JA1ABC.txt; \
	fi

# Pictures of the window in its usual states, under a virtual display, into screenshots/.
screenshot:
	./scripts/install-deps.sh --xvfb
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target tornak-screenshots
	xvfb-run -a $(BUILD)/tornak-screenshots screenshots examples

# The Debian package, built in its own folder: $(BUILD)-package/tornak-cabrillo_*.deb
package: deps
	cmake -S . -B $(BUILD)-package -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)-package -j $(JOBS)
	cd $(BUILD)-package && cpack -G DEB
	@ls $(BUILD)-package/*.deb

# Windows: Qt is cross-built once into ~/.cache (scripts/build-qt-windows.sh, about 35 minutes
# on two cores the first time); then the program and dist/tornak-cabrillo-<version>-win64.zip.
windows:
	./packaging/windows/make-zip.sh

# The whole suite built for Windows and run under wine, and the examples compared with the
# Linux program's output.
test-windows:
	./packaging/windows/test-windows.sh

# The window's pictures as the Windows program draws them, under wine, into screenshots/windows/.
screenshot-windows:
	./packaging/windows/screenshot-windows.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# Fails when a source file differs from what .clang-format makes of it; CI runs it.
format-check:
	./scripts/install-deps.sh
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
