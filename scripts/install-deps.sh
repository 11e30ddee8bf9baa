#!/usr/bin/env bash
# Installs every Debian package QuenPath needs to build, run and test.
# Idempotent and quick when everything is present; uses sudo when not root;
# fails loudly when a package cannot be installed.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake pkg-config git
  # the SDL2 backend: window, input, drawing, PNG decoding, the resource pack
  libsdl2-dev libsdl2-image-dev libzip-dev
  # the asset generator renders its glyph sheets from DejaVu Sans
  libfreetype-dev fonts-dejavu-core
  # tests, benchmarks, tools
  googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
  # sanitizers and fuzzing
  clang libclang-rt-14-dev
  # benchmark checks and test helpers
  python3
  # the real-window end-to-end test and the memory check
  xvfb xauth xdotool imagemagick x11-utils valgrind
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$pkg")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  else
    echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get update -qq; then
  echo "install-deps: apt-get update failed" >&2
  exit 1
fi
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  echo "install-deps: could not install: ${missing[*]}" >&2
  exit 1
fi

# Check again: apt-get can succeed without installing a package it skipped.
for pkg in "${missing[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  if [ "$status" != "installed" ]; then
    echo "install-deps: package $pkg is still not installed" >&2
    exit 1
  fi
done
