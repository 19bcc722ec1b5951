#!/usr/bin/env bash
# The generated files build with CMake's default generator (Unix Makefiles), not only with Ninja,
# which makes the output folders of custom commands by itself: the sources configured afresh into
# a folder of their own, then only the targets that make the menu icons, the English translation,
# the manual pages and the changelog. mirelto-cli's page is written from the program the release
# build already has, so the SVG renderer is all that compiles. Each file must equal the release
# build's.
# Usage: check_default_generator.sh SOURCE_DIR BUILD_DIR WORK_DIR [COMPILER_LAUNCHER]
set -euo pipefail

source=$1
build=$2
work=$3
launcher=${4:-}
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
env -u CMAKE_GENERATOR cmake -S "$source" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" \
    -DMIRELTO_BUILD_TESTS=OFF -DMIRELTO_BUILD_BENCHMARKS=OFF \
    -DMIRELTO_MANPAGE_CLI="$build/src/cli/mirelto-cli" > "$work/configure.log" 2>&1 ||
    fail "configure: $(cat "$work/configure.log")"
grep -qx 'CMAKE_GENERATOR:INTERNAL=Unix Makefiles' "$work/build/CMakeCache.txt" ||
    fail "the default generator is not Unix Makefiles: $(grep CMAKE_GENERATOR: "$work/build/CMakeCache.txt")"
cmake --build "$work/build" -j 2 --target mirelto_desktop_files mirelto_app_lrelease \
    > "$work/build.log" 2>&1 || fail "build: $(tail -n 30 "$work/build.log")"

generated=(src/app/mirelto_en.qm packaging/mirelto.1.gz packaging/mirelto-cli.1.gz
           packaging/changelog.Debian.gz)
for size in 16 24 32 48 64 128 256; do
    generated+=("packaging/icons/$size/mirelto.png")
done
for file in "${generated[@]}"; do
    [ -f "$work/build/$file" ] || fail "not made: $file"
    cmp -s "$work/build/$file" "$build/$file" || fail "$file differs from the release build's"
done
# Nothing of the programs was built.
for program in src/app/mirelto src/cli/mirelto-cli; do
    [ ! -e "$work/build/$program" ] || fail "$program was built"
done
echo "${#generated[@]} generated files made with Unix Makefiles, equal to the release build's"
