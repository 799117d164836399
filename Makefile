# The way in: `make run` starts Lumiscribe, `make test` runs every suite.
.PHONY: run test bench fuzz build setup clean

setup:
	@scripts/setup

build: setup
	@scripts/build native win

run: setup
	@scripts/run

test: setup
	@scripts/test

bench: setup
	@scripts/bench

fuzz: setup
	@scripts/build fuzz
	@scripts/fuzz 300

clean:
	rm -rf build
