# Quillon 95: the editor quillon95.exe and its installer setup.exe, built
# for 32-bit Windows with mingw-w64 and run and tested under Wine.
#
#   make run [FILE=path]   build, then open the editor under Wine
#   make test              build and dist, then every test (native and under Wine)
#   make dist              the shipped files in dist/
#   make screenshot        docs/screenshot.png of the editor on a sample file,
#                          docs/search.png of its Search dialog
#   make bench             speed and memory figures
#   make bench-search      the search's figures only
#   make fuzz              every fuzz target for FUZZ_SECONDS (default 600) each
#   make model [STEPS=n]   the random save sessions for n steps (default 100000)

WIN    := build/win
WIN64  := build/win64
NATIVE := build/native
JOBS   ?= 2

# The Windows build that runs and is tested here: $(WIN), the i686 programs
# that ship, where this host runs 32-bit programs; else $(WIN64), the same
# sources for x86_64 under a 64-bit Wine (QUILLON_WIN64=1 chooses it on any
# host). Decided by trying, once per make and after bootstrap has installed
# Wine; it says so in one line.
RUN = $(eval RUN := $(if $(filter x86_64,$(shell tools/windows-arch.sh -v)),$(WIN64),$(WIN)))$(RUN)

# What each entry point that runs Windows programs is told (tools/wine-env.sh):
# the build folder that runs here, the source folder and the Wine of its programs.
WINE_ENV = BUILD_DIR=$(CURDIR)/$(RUN) SOURCE_DIR=$(CURDIR) WINEARCH=$(if $(filter $(WIN64),$(RUN)),win64,win32)

FUZZ_SECONDS ?= 600
STEPS ?= 100000
SEED ?= 1

.PHONY: all bootstrap build run test dist screenshot bench bench-search fuzz model clean

all: build

bootstrap:
	@tools/bootstrap.sh

$(WIN)/Makefile: | bootstrap
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

$(WIN64)/Makefile: | bootstrap
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null

$(NATIVE)/Makefile: | bootstrap
	CC=clang CXX=clang++ cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null

# Where the x86_64 build is the one run, the i686 tree makes only what ships.
# The Wine prefix of the tree that runs is made meanwhile, in the background.
build: bootstrap $(WIN)/Makefile $(NATIVE)/Makefile
	$(if $(filter $(WIN64),$(RUN)),$(MAKE) --no-print-directory $(WIN64)/Makefile)
	$(WINE_ENV) tools/wine-prefix.sh >$(RUN)/wine-prefix.log 2>&1 &
	cmake --build $(WIN) -j $(JOBS) $(if $(filter $(WIN64),$(RUN)),--target quillon95 setup helpfile)
	$(if $(filter $(WIN64),$(RUN)),cmake --build $(WIN64) -j $(JOBS))
	cmake --build $(NATIVE) -j $(JOBS)

run: build
	$(WINE_ENV) tools/run-editor.sh "$(FILE)"

# The shipped files in dist/ have their static checks in either tree's
# tests; the release test installs from dist/quillon95.zip (the i686 tree)
# or from the x86_64 tree's own programs. Skipped tests say why.
test: dist
	cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)
	$(WINE_ENV) tools/wine-session.sh sh -c 'cd $(RUN) && ctest --output-on-failure -j $(JOBS)'; \
	    status=$$?; tools/skipped.sh $(RUN); exit $$status

dist: build
	rm -rf dist && mkdir -p dist
	cp $(WIN)/quillon95.exe dist/
	@if [ -f $(WIN)/setup.exe ]; then cp $(WIN)/setup.exe dist/; fi
	@if [ -f $(WIN)/quillon95.hlp ]; then cp $(WIN)/quillon95.hlp dist/; fi
	@if [ -f $(WIN)/quillon95.txt ]; then cp $(WIN)/quillon95.txt dist/; fi
	cd dist && rm -f quillon95.zip && zip -q quillon95.zip *.exe $$(ls *.hlp *.txt 2>/dev/null)

screenshot: build
	$(WINE_ENV) tools/wine-session.sh tools/screenshot.sh docs/screenshot.png docs/search.png

bench: build
	@if [ -f bench/run.sh ]; then $(WINE_ENV) tools/wine-session.sh bench/run.sh; else echo "no benchmarks yet"; fi

bench-search: build
	$(WINE_ENV) tools/wine-session.sh bench/search.sh

fuzz: build
	@for t in $(NATIVE)/tests/fuzz/fuzz_*; do \
	    name=$${t##*/fuzz_}; echo "== $$name"; \
	    tools/run-fuzz.sh $$t $$name $(FUZZ_SECONDS) $(CURDIR) $(CURDIR)/$(NATIVE)/fuzz 2>&1 | grep -E "^(stat::|==|SUMMARY|Done)" ; \
	done

model: build
	$(WINE_ENV) QUILLON_MODEL_STEPS=$(STEPS) QUILLON_MODEL_SEED=$(SEED) tools/wine-session.sh \
	    sh -c 'cd $(RUN) && wine tests/win_model_save_test.exe'

clean:
	rm -rf build dist
