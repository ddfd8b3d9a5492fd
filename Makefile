BUILD ?= build
JOBS ?= $(shell nproc)
APP = $(BUILD)/src/tornak-cabrillo

.PHONY: all deps build test run format clean

all: build

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Converts the bundled example and shows the Cabrillo file (written in Shift_JIS).
run: build
	@out=$$(mktemp -d) && \
	$(APP) convert examples/zlog-export.txt --settings examples/ini.txt --output-dir "$$out" && \
	iconv -f CP932 -t UTF-8 "$$out"/*.txt && rm -rf "$$out"

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
