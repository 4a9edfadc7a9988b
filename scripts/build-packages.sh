#!/usr/bin/env bash
# Builds the Debian packages kronalt, libzam1 and libzam-dev into
# BUILD-DIR/packages: a build of its own under /usr, with Debian's hardening
# flags, no tests, then CPack's Debian generator.
# usage: build-packages.sh SOURCE-DIR BUILD-DIR [JOBS]
set -euo pipefail
source_dir="$1"
build="$2"
jobs="${3:-$(nproc 2>/dev/null || echo 2)}"

# The flags Debian builds its own packages with (bindnow included, as
# lintian's hardening checks ask). -Wdate-time goes: the build date is what
# --version reports, and SOURCE_DATE_EPOCH below pins it for repeatable builds.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS | sed 's/-Wdate-time//')"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
# The date of the last commit, as Debian's tools take it from the changelog;
# outside a git checkout the build's own date stands.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && epoch=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH="$epoch"
fi

cmake -S "$source_dir" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_BUILD_TYPE=None \
  -DKRONALT_PACKAGE=ON -DKRONALT_TESTS=OFF -DKRONALT_WERROR=OFF \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" -j "$jobs"
rm -f "$build"/packages/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/packages/*.deb
