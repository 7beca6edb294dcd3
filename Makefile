# Entry points: `make run` and `make test` install what is missing, build, and run.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
DEPS_STAMP := $(BUILD_DIR)/.deps-installed

.PHONY: all deps configure build test run install-app package service bench bench-backup service-load fuzz format clean

all: build

$(DEPS_STAMP): scripts/install-deps.sh
	./scripts/install-deps.sh
	@mkdir -p $(BUILD_DIR)
	@touch $@

deps: $(DEPS_STAMP)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j2

run: build
	./scripts/run-app.sh $(BUILD_DIR)

# Installs the application where its environment check expects it (QUILLET_APP_PATH).
install-app: build
	./scripts/install-app.sh $(BUILD_DIR)

# The Debian package and the tarball, built for /usr in build/package.
package: deps
	./scripts/make-package.sh $(BUILD_DIR)/package

# The word bank service on the address the programs are built to use, until Ctrl-C.
service: build
	mkdir -p $(HOME)/.local/share/Quillet
	$(BUILD_DIR)/bin/quillet-service --db $(HOME)/.local/share/Quillet/service.db

bench: build
	./scripts/run-bench.sh $(BUILD_DIR)

bench-backup: build
	$(BUILD_DIR)/bin/quillet-backup-bench

# The word bank service under wrk's load, beside BASELINE (another quillet-service program) when
# given: make service-load [BASELINE=/path/to/quillet-service] [DURATION=seconds per case]
service-load: configure
	cmake --build $(BUILD_DIR) --target quillet-service quillet-service-load-bodies
	./scripts/service-load.sh $(if $(DURATION),--duration $(DURATION)) $(BUILD_DIR) $(BASELINE)

# Every libFuzzer target for FUZZ_SECONDS (30) each from its seeds; fails on any finding.
fuzz: deps
	./scripts/run-fuzz.sh $(BUILD_DIR)/fuzz $(FUZZ_SECONDS)

format:
	find core cli service app tests bench -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
