#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Kronalt
# needs. Safe to run again: it installs only what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake make pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libinih-dev libexpat1-dev libxml2-dev libpugixml-dev libspdlog-dev
  libwxgtk3.2-dev libgtk-3-dev libsdl2-dev libasound2-dev libnotify-dev libcurl4-openssl-dev
  tzdata xvfb xauth x11-utils xdotool openbox trayer fonts-liberation2 cmark-gfm gettext wx3.2-i18n
  dpkg-dev file man-db lintian appstream desktop-file-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  # Without root and without sudo nothing can be installed: say what is
  # missing and how to get it, in one line, before touching anything. A
  # machine whose package lists were never fetched needs them first.
  if ! command -v sudo >/dev/null 2>&1; then
    lists="${KRONALT_APT_LISTS:-/var/lib/apt/lists}"
    update=""
    if ! compgen -G "$lists/*_Packages*" >/dev/null; then update="apt-get update && "; fi
    echo "install-deps: packages are missing; as root, run: ${update}apt-get install ${missing[*]}" >&2
    exit 1
  fi
  SUDO="sudo"
fi

echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
