BUILD ?= build
JOBS ?= $(shell nproc)
APP = $(abspath $(BUILD))/src/tornak-cabrillo
# The window reads and writes ini.txt and the Cabrillo file in its current folder.
RUN_DIR = $(BUILD)/run

.PHONY: all deps build test test-sanitize run screenshot format clean

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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
