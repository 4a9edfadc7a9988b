#!/usr/bin/env bash
# Builds the three Debian packages, unpacks them and checks them as a user's
# system would meet them: control fields, who holds which file, lintian, the
# desktop and AppStream validators, the manual page against --help, a program
# built on the development package, and the unpacked program run on the
# unpacked libraries alone.
# usage: package_test.sh SOURCE-DIR WORK-DIR
set -uo pipefail
source_dir="$1"
work="$2"
scratch=$(mktemp -d)
# The unpacked bin/ is made read-only below; the clean-up must open it again.
trap 'chmod -R u+w "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
# Every fault is one line in $scratch/fails; the lines that come out of a
# pipeline are written there too.
fail() { echo "FAIL: $*" | tee -a "$scratch/fails"; }
fail_each() { sed "s|^|FAIL: $1|" | tee -a "$scratch/fails"; }

if ! bash "$source_dir/scripts/build-packages.sh" "$source_dir" "$work" >"$scratch/build.log" 2>&1; then
  tail -40 "$scratch/build.log"
  echo "FAIL: the packages were not built"
  exit 1
fi
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
version=$(sed -n 's/.*KRONALT_VERSION = "\(.*\)";/\1/p' "$source_dir/app/Version.cpp")
deb() { echo "$work/packages/$1_${version}_${arch}.deb"; }
for p in kronalt libzam1 libzam-dev; do
  [ -f "$(deb $p)" ] || { echo "FAIL: no $(deb $p)"; ls "$work/packages"; exit 1; }
done

# --- control fields ---------------------------------------------------------
field() { dpkg-deb -f "$(deb "$1")" "$2"; }
for spec in kronalt:utils libzam1:libs libzam-dev:libdevel; do
  p=${spec%%:*}
  [ "$(field "$p" Package)" = "$p" ] || fail "$p: Package is '$(field "$p" Package)'"
  [ "$(field "$p" Version)" = "$version" ] || fail "$p: Version is '$(field "$p" Version)', want $version"
  [ "$(field "$p" Architecture)" = "$arch" ] || fail "$p: Architecture is '$(field "$p" Architecture)'"
  [ "$(field "$p" Section)" = "${spec#*:}" ] || fail "$p: Section is '$(field "$p" Section)'"
  field "$p" Maintainer | grep -qE '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "$p: Maintainer '$(field "$p" Maintainer)'"
  # A summary line and a long description below it.
  [ "$(field "$p" Description | wc -l)" -ge 3 ] || fail "$p: no long description"
done
# The program and the headers go with exactly their libraries' version; the
# rest comes from what the binaries link, which dpkg-shlibdeps found.
field kronalt Depends | grep -qF "libzam1 (= $version)" || fail "kronalt: Depends lacks libzam1 (= $version)"
field kronalt Depends | grep -q "libsdl2-2.0-0" || fail "kronalt: Depends lacks SDL2 (shlibdeps)"
field libzam1 Depends | grep -q "libcurl4" || fail "libzam1: Depends lacks libcurl4 (shlibdeps)"
field libzam-dev Depends | grep -qF "libzam1 (= $version)" || fail "libzam-dev: Depends lacks libzam1 (= $version)"
dpkg-deb --ctrl-tarfile "$(deb libzam1)" | tar -xO ./shlibs 2>/dev/null | grep -qx "libzamcore 1 libzam1 (>= $version)" \
  || fail "libzam1: no shlibs line for libzamcore"

# --- who holds which file ----------------------------------------------------
root="$scratch/root"
mkdir -p "$root"
for p in kronalt libzam1 libzam-dev; do
  dpkg-deb -c "$(deb $p)" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$scratch/$p.files"
  dpkg-deb -x "$(deb $p)" "$root"
done
lib="/usr/lib/$multiarch"
must_hold() {  # must_hold PACKAGE PATH...
  local p="$1"
  shift
  for f in "$@"; do grep -qx "$f" "$scratch/$p.files" || fail "$p does not hold $f"; done
}
must_hold kronalt /usr/bin/kronalt /usr/share/applications/kronalt.desktop \
  /usr/share/kronalt/Kronalt.xml /usr/share/kronalt/Harp.wav /usr/share/kronalt/TickTock.wav \
  /usr/share/kronalt/kronalt-64.png /usr/share/kronalt/kronalt.html /usr/share/kronalt/docs/screenshot.png \
  /usr/share/man/man1/kronalt.1.gz /usr/share/icons/hicolor/scalable/apps/kronalt.svg \
  /usr/share/doc/kronalt/settings.md.gz \
  /usr/share/locale/de/LC_MESSAGES/kronalt.mo /usr/share/locale/fr/LC_MESSAGES/kronalt.mo
for size in 16 24 32 48 64 128 256; do
  must_hold kronalt "/usr/share/icons/hicolor/${size}x${size}/apps/kronalt.png"
done
grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' "$scratch/kronalt.files" || fail "kronalt holds no metainfo"
must_hold libzam1 "$lib/libzamcore.so.1" "$lib/libzamgraph.so.1"
must_hold libzam-dev "$lib/libzamcore.so" "$lib/libzamgraph.so" "$lib/pkgconfig/zam.pc" \
  "$lib/cmake/Zam/ZamConfig.cmake" "$lib/cmake/Zam/ZamTargets.cmake" \
  /usr/include/zam/Core/Text/CTxt.h /usr/include/zam/Core/Graph/CDlgCfg.h
for p in kronalt libzam1 libzam-dev; do
  must_hold "$p" "/usr/share/doc/$p/copyright" "/usr/share/doc/$p/changelog.gz"
  cmp -s "$root/usr/share/doc/$p/copyright" "$source_dir/LICENSE" || fail "$p: copyright is not LICENSE"
  grep -v '^/usr/' "$scratch/$p.files" | fail_each "$p holds a file outside /usr: "
  grep -q '^/usr/' "$scratch/$p.files" || fail "$p holds nothing"
done
grep -E '\.h$|\.so$|\.pc$|cmake' "$scratch/libzam1.files" | fail_each "libzam1 holds a development file: "
# The program's one private file under /usr/lib is its sound module, which
# nothing else links.
must_hold kronalt "$lib/kronalt/kronalt-sound.so"
grep -E '^/usr/lib|^/usr/include' "$scratch/kronalt.files" | grep -vx "$lib/kronalt/kronalt-sound.so" \
  | fail_each "kronalt holds a library file: "
# Two packages holding one file could not be installed together.
sort "$scratch"/*.files | uniq -d | fail_each "two packages hold "
for f in "$root/usr/bin/kronalt" "$root$lib/kronalt/kronalt-sound.so" "$root$lib/libzamcore.so.1" \
  "$root$lib/libzamgraph.so.1"; do
  readelf -d "$f" | grep -qE 'RPATH|RUNPATH' && fail "${f#"$root"} carries a library search path"
done
soname=$(objdump -p "$root$lib/libzamcore.so.1" | awk '$1 == "SONAME" {print $2}')
[ "$soname" = "libzamcore.so.1" ] || fail "libzamcore's soname is '$soname'"

# --- Debian's and the desktop's own checkers ------------------------------------
# Errors fail; a warning passes only when docs/packaging.md gives its reason.
lintian --no-tag-display-limit "$(deb kronalt)" "$(deb libzam1)" "$(deb libzam-dev)" >"$scratch/lintian" 2>&1
grep '^E: ' "$scratch/lintian" | fail_each "lintian "
grep '^W: ' "$scratch/lintian" | while read -r _ _ tag _; do
  grep -qF "\`$tag\`" "$source_dir/docs/packaging.md" || echo "$tag is not explained in docs/packaging.md"
done | fail_each "lintian warning "
desktop-file-validate "$root/usr/share/applications/kronalt.desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$root" >"$scratch/appstream" 2>&1 \
  || { cat "$scratch/appstream"; fail "appstreamcli validate-tree"; }
man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/kronalt.1.gz" 2>&1 >"$scratch/man.txt")
[ -z "$man_warnings" ] || fail "the manual page has warnings: $man_warnings"

# --- a program built on the unpacked development files ---------------------------
consumer="$scratch/consumer"
mkdir -p "$consumer"
cp "$source_dir/tests/install/consumer.cpp" "$consumer/"
cp "$source_dir/tests/install/CMakeLists.txt.in" "$consumer/CMakeLists.txt"
if cmake -S "$consumer" -B "$consumer/build" -DCMAKE_PREFIX_PATH="$root/usr" >"$consumer/log" 2>&1 &&
  cmake --build "$consumer/build" >>"$consumer/log" 2>&1; then
  out=$(LD_LIBRARY_PATH="$root$lib" "$consumer/build/consumer")
  [ "$out" = "INSTALLED" ] || fail "the program built on libzam-dev printed '$out'"
else
  tail -20 "$consumer/log"
  fail "no program could be built on libzam-dev's find_package(Zam)"
fi

# --- the unpacked program on the unpacked libraries ------------------------------
# As a user whose /usr/bin is not writable, with a home of their own.
home="$scratch/home"
mkdir -p "$home"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R nobody "$home"
  chmod 755 "$scratch"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
  chmod a-w "$root/usr/bin"
fi
run() {
  env -i PATH=/usr/bin:/bin HOME="$home" LD_LIBRARY_PATH="$root$lib" "${as_user[@]}" "$root/usr/bin/kronalt" "$@"
}
env -i LD_LIBRARY_PATH="$root$lib" ldd "$root/usr/bin/kronalt" | grep 'libzam' | grep -v "=> $root$lib/" \
  | fail_each "not the unpacked library: "
# The module, loaded on the first sound, is where the program will look for it
# (a path relative to its own folder), and finds its libraries as the program does.
module=$(strings "$root/usr/bin/kronalt" | grep -m1 'kronalt-sound\.so$')
[ -n "$module" ] && [ -f "$root/usr/bin/$module" ] || fail "the program looks for its sound module at '$module'"
env -i LD_LIBRARY_PATH="$root$lib" ldd "$root$lib/kronalt/kronalt-sound.so" | grep -E 'not found|libzam' \
  | grep -v "=> $root$lib/" | fail_each "the sound module: "
out=$(run --version 2>&1)
echo "$out" | grep -qx "Kronalt $version (built .*)" || fail "--version printed: $out"
out=$(run --list-presets 2>&1)
echo "$out" | grep -q "^Pomodoro	25 min$" || fail "--list-presets printed: $out"
[ -f "$home/.config/kronalt/kronalt.ini" ] || fail "the settings did not go to ~/.config/kronalt/"
[ "$(ls "$root/usr/bin")" = "kronalt" ] || fail "the program wrote beside itself: $(ls "$root/usr/bin")"

# The manual page and --help list the same options.
help_options=$(run --help | grep -oE -- '(^|[ [|(])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z-]+' | sort -u)
man_options=$(grep -oE -- '(^|[ [|(])--?[a-z][a-z-]*' "$scratch/man.txt" | grep -oE -- '--?[a-z-]+' \
  | grep -vx -- '-' | sort -u)
[ "$help_options" = "$man_options" ] || fail "options of --help and the manual page differ: $(diff <(echo "$help_options") <(echo "$man_options") | grep '^[<>]' | tr '\n' ' ')"

if [ -s "$scratch/fails" ]; then
  echo "$(wc -l <"$scratch/fails") failed"
  exit 1
fi
echo "packages: kronalt, libzam1, libzam-dev built and checked"
