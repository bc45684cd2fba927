#!/usr/bin/env bash
# The Debian package as a packager builds it: a fresh build folder configured with the tests, then
# cpack -G DEB as the README gives it. cpack builds the program alone (no test, no benchmark), the
# package holds the manual pages, the copyright file and the changelog, and lintian reports no
# error and no warning on it.
# Environment (set by tests/e2e/CMakeLists.txt): ORL_SOURCE_DIR, ORL_PACKAGE_WORK (the build folder
# to make, emptied first), CMAKE_BUILD_TYPE, CMAKE_CXX_COMPILER_LAUNCHER (may be empty).
set -euo pipefail
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || { echo "package: $tool is missing (scripts/setup --tests installs it)" >&2; exit 1; }
done
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

work=$ORL_PACKAGE_WORK
rm -rf "$work"
mkdir -p "$work"
cd "$work"
# Compiled objects are shared with the other build folders where the compiler cache is used.
export CCACHE_BASEDIR=$ORL_SOURCE_DIR CCACHE_NOHASHDIR=1
cmake -S "$ORL_SOURCE_DIR" -B . -DCMAKE_BUILD_TYPE="$CMAKE_BUILD_TYPE" \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER="$CMAKE_CXX_COMPILER_LAUNCHER"} >configure.log 2>&1 ||
    fail "configuring failed: $(tail -n 5 configure.log)"
started=$SECONDS
cpack -G DEB >cpack.log 2>&1 || fail "cpack failed: $(tail -n 20 cpack.log)"
echo "cpack -G DEB in a fresh build folder: $((SECONDS - started)) s"

# Only the program was built: no test program, no benchmark.
built=$(find tests bench -type f -executable 2>/dev/null | head -n 5)
[ -z "$built" ] || fail "cpack built more than the program: $built"
[ -x orl ] || fail "cpack did not build the program"

deb=$(ls orl_*.deb)
contents=$(dpkg-deb -c "$deb")
for file in usr/bin/orl usr/share/man/man1/orl.1.gz usr/share/man/ru/man1/orl.1.gz \
    usr/share/doc/orl/copyright usr/share/doc/orl/changelog.gz usr/share/applications/io.github.orl.Orl.desktop; do
    grep -q " \./$file\$" <<<"$contents" || fail "the package lacks $file"
done
# Every line of the description fits Debian's 80 columns.
if dpkg-deb -f "$deb" Description | awk 'length > 80 { found = 1 } END { exit !found }'; then
    fail "a description line is longer than 80 characters"
fi

# Errors and warnings fail; information tags are shown.
lintian --fail-on error,warning --display-info "$deb" || fail "lintian reports errors or warnings"
