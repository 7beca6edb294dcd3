# Entry points: `make run` and `make test` install what is missing, build, and run.
# `make test-all` is what CI runs: every test, warnings as errors, sanitizers, format, tidy, fuzz.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
# The machines have two cores.
JOBS ?= 2
SANITIZE_DIR ?= $(BUILD_DIR)/sanitize
# The commits whose changed sources make tidy checks (scripts/check-tidy.sh has the default).
TIDY_BASE ?=
# One pinned formatter for everyone: Debian 12's.
CLANG_FORMAT ?= clang-format-14
FORMAT_DIRS := core cli service app tests bench fuzz
# The Objective-C projects that the build check compiles and the fuzzers' seeds are fixtures,
# not our C++.
FORMAT_FILES = find $(FORMAT_DIRS) \( -path tests/buildcheck/FoundationShop -o -path tests/buildcheck/GadgetShop \
	-o -path fuzz/corpus \) \
	-prune -o \( -name '*.h' -o -name '*.cpp' \) -print0
# The test programs run once under the sanitizers.
SANITIZE_TESTS := core_tests cli_tests service_tests engine_tests job_tests precise_tests \
	objc_tests settings_tests backup_tests

# ccache, where the machine has it, keeps rebuilds short; with paths taken relative to the
# clone, a fresh clone elsewhere (as CI makes) finds what an earlier one compiled.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR := $(CURDIR)
CONFIGURE = cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(LAUNCHER)
BUILD = cmake --build $(BUILD_DIR) -j $(JOBS)
# The stamp of a tier of scripts/install-deps.sh: installed once, again when the script changes.
deps = $(BUILD_DIR)/.deps-$(1)

# Each step builds with all cores; steps run one after the other.
.NOTPARALLEL:
# fuzz/ is a folder too: without .PHONY its make target would be taken as done.
.PHONY: all configure configure-tests build build-tests test test-all test-everything \
	check-warnings sanitize format format-check tidy fuzz flaky-hunt run install-app package \
	service bench bench-backup service-load clean

all: build

$(BUILD_DIR)/.deps-%: scripts/install-deps.sh
	./scripts/install-deps.sh $*
	@mkdir -p $(@D)
	@touch $@

# The tests are built too once make test has installed what they need.
configure: $(call deps,build)
	$(CONFIGURE) -DQUILLET_BUILD_TESTS=$(if $(wildcard $(call deps,test)),ON,OFF)

configure-tests: $(call deps,build) $(call deps,test)
	$(CONFIGURE) -DQUILLET_BUILD_TESTS=ON

build: configure
	$(BUILD)

build-tests: configure-tests
	$(BUILD)

# The quick tier: everything but the tests labelled heavy.
test: build-tests
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS) -LE heavy

run: build
	./scripts/run-app.sh $(BUILD_DIR)

# Installs the application where its environment check expects it (QUILLET_APP_PATH).
install-app: build
	./scripts/install-app.sh $(BUILD_DIR)

# The Debian package and the tarball, built for /usr in build/package.
package: $(call deps,build) $(call deps,package)
	./scripts/make-package.sh $(BUILD_DIR)/package

# The word bank service on the address the programs are built to use, until Ctrl-C.
service: build
	mkdir -p $(HOME)/.local/share/Quillet
	$(BUILD_DIR)/bin/quillet-service --db $(HOME)/.local/share/Quillet/service.db

bench: build-tests
	./scripts/run-bench.sh $(BUILD_DIR)

bench-backup: build-tests $(call deps,bench)
	$(BUILD_DIR)/bin/quillet-backup-bench

# The word bank service under wrk's load, beside BASELINE (another quillet-service program) when
# given: make service-load [BASELINE=/path/to/quillet-service] [DURATION=seconds per case]
service-load: configure-tests $(call deps,bench)
	$(BUILD) --target quillet-service quillet-service-load-bodies
	./scripts/service-load.sh $(if $(DURATION),--duration $(DURATION)) $(BUILD_DIR) $(BASELINE)

# --- CI: make test-all runs each of these; each also runs on its own. ---

test-all: format-check test-everything tidy sanitize fuzz

# Every test, heavy ones included, on the build with warnings as errors.
test-everything: check-warnings $(call deps,package) $(call deps,ci)
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# Warnings as errors; the build folder keeps the setting until it is configured otherwise.
check-warnings: $(call deps,build) $(call deps,test)
	$(CONFIGURE) -DQUILLET_BUILD_TESTS=ON -DQUILLET_WERROR=ON
	$(BUILD)

# AddressSanitizer and UndefinedBehaviorSanitizer over the programs without Qt, in their own
# folder; each test program runs once. The crash reporter's tests that fault on purpose are left
# out: the sanitizers stop the fault before the reporter's handler can see it. So is the bound on
# the service's memory: AddressSanitizer's shadow and quarantine make its resident size no measure.
SANITIZE_SKIP := Crashlytics.AFaultWritesOneReportAndTheProcessStillDiesOfIt:$\
	Crashlytics.AFolderThatCannotBeMadeInstallsNothing:$\
	ServiceQuota.FourOwnerListsAtOnceOfAnOversizedStoreStayBoundedInMemory
sanitize: $(call deps,build) $(call deps,test)
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) \
		-DQUILLET_BUILD_APP=OFF -DQUILLET_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS) --target $(SANITIZE_TESTS)
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 GTEST_FILTER='-$(SANITIZE_SKIP)' \
		./scripts/run-test-programs.sh --logs $(SANITIZE_DIR)/test-logs \
		$(addprefix $(SANITIZE_DIR)/bin/,$(SANITIZE_TESTS))

format: $(call deps,ci)
	$(FORMAT_FILES) | xargs -0 $(CLANG_FORMAT) -i

format-check: $(call deps,ci)
	$(FORMAT_FILES) | xargs -0 $(CLANG_FORMAT) --dry-run -Werror

# clang-tidy on the sources changed since TIDY_BASE.
tidy: build-tests $(call deps,ci)
	./scripts/check-tidy.sh $(BUILD_DIR) $(TIDY_BASE)

# Every libFuzzer target for FUZZ_SECONDS (30) each from its seeds; fails on any finding.
fuzz: $(call deps,build) $(call deps,ci)
	./scripts/run-fuzz.sh $(BUILD_DIR)/fuzz $(FUZZ_SECONDS)

# Every quick test program RUNS times (default 10) while stress loads the machine.
flaky-hunt: build-tests $(call deps,ci)
	./scripts/flaky-hunt.sh $(BUILD_DIR) $(RUNS)

clean:
	rm -rf $(BUILD_DIR)
