#!/usr/bin/env bash
# Builds the desk's Debian package into build-package/ (Release, installed
# under /usr, the desk only: no tests, benchmark or tools), prints its path
# and checks it with lintian. Install it with:
#   sudo apt-get install ./build-package/vitrana_1.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh --package

# Files and folders of the package readable by all, whatever the caller's umask.
umask 022
# Debian's own compiler and linker flags, with every hardening (fortified
# functions, stack protector, read-only relocations bound at start).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

build=build-package
# The package is built from the desk's target alone; cpack then must not
# build everything else first.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
cmake --build "$build" -j"$(nproc)" --target vitrana vitrana_docs
rm -f "$build"/vitrana_*.deb
(cd "$build" && cpack -G DEB)

debs=("$build"/vitrana_*.deb)
[ -f "${debs[0]}" ] || { echo "package.sh: cpack made no package" >&2; exit 1; }
deb=$(realpath "${debs[0]}")

if command -v lintian >/dev/null; then
    # Errors fail the build; warnings are printed for whoever looks.
    lintian --fail-on error --info "$deb"
fi
echo "$deb"
