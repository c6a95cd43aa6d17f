#!/usr/bin/env bash
# Installs what the suite needs, builds it, and runs Pakro or the tests.
#   ./build.sh run    install, build, start the parameter extractor
#   ./build.sh test   install, build, run every test (also under sanitizers)
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake ninja-build binutils qt6-base-dev libgtest-dev libgmock-dev bison flex ngspice locales xvfb xauth fonts-liberation)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

jobs=$(nproc)

build() {  # build DIR [cmake options...]
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "${1:-}" in
  run)
    # Without a display Qt cannot start; Pakro then runs on a virtual one.
    display=yes
    [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || display=no
    install_missing
    # Only what the parameter extractor is made of.
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$jobs" --target pakro
    if [ "$display" = no ]; then
      echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running Pakro under xvfb-run, on a virtual display nobody sees."
      exec xvfb-run -a build/bin/pakro
    fi
    exec build/bin/pakro
    ;;
  test)
    install_missing
    build build
    ctest --test-dir build -j "$jobs" --output-on-failure --no-tests=error
    # The libraries and their tests once more under AddressSanitizer and
    # UndefinedBehaviorSanitizer; the Qt programs are left out of this build.
    build build-sanitize -DORVO_SANITIZE=ON -DORVO_WITH_GUI=OFF
    ctest --test-dir build-sanitize -j "$jobs" --output-on-failure --no-tests=error
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
