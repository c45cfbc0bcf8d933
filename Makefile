# The two commands of the README: `make run` and `make test`.
BUILD   ?= build
DEMO    := $(BUILD)/demo-clinique

.PHONY: all deps configure build run test bench package demo demo-reset clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

# The demo clinic is copied once; `make demo-reset` starts it again from the committed copy.
demo:
	@if [ ! -d $(DEMO) ]; then mkdir -p $(DEMO) && cp -r demo/clinique/. $(DEMO)/; fi

demo-reset:
	rm -rf $(DEMO)
	$(MAKE) demo

run: build demo
	$(BUILD)/app/kestrova --dossier $(DEMO)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

# Timings of the bulk operations against copying the same bytes.
bench: configure
	cmake --build $(BUILD) --target kestrova_bench
	$(BUILD)/bench/kestrova_bench

# The Debian package of the program: $(BUILD)/kestrova_*.deb
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
