#!/usr/bin/env bash
# "./build.sh run" with stand-ins for the tools it calls: with no display it
# builds only the parameter extractor and starts it under xvfb-run; with a
# display it starts it directly.
#   build_run_test.sh <path of build.sh>
set -euo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/tools" "$work/tree/build/bin"
cp "$script" "$work/tree/build.sh"
log="$work/log"
stub() {  # stub NAME BODY
  printf '#!/usr/bin/env bash\n%s\n' "$2" >"$work/tools/$1"
  chmod +x "$work/tools/$1"
}
stub cmake 'echo "cmake $*" >>"'"$log"'"'
stub xvfb-run 'echo "xvfb-run $*" >>"'"$log"'"'
stub dpkg-query 'echo "install ok installed"'
stub apt-get 'echo "apt-get $*" >>"'"$log"'"'
printf '#!/usr/bin/env bash\necho "pakro" >>"%s"\n' "$log" >"$work/tree/build/bin/pakro"
chmod +x "$work/tree/build/bin/pakro"

fail() {
  echo "FAILED: $*" >&2
  cat "$log" >&2
  exit 1
}

# No display.
: >"$log"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY PATH="$work/tools:$PATH" bash "$work/tree/build.sh" run)
grep -q "xvfb-run" <<<"$out" || fail "no word that Pakro runs under xvfb-run: $out"
grep -qx "xvfb-run -a build/bin/pakro" "$log" || fail "Pakro was not started under xvfb-run"
! grep -qx "pakro" "$log" || fail "Pakro was started without a display"
builds=$(grep -c "^cmake --build" "$log" || true)
[ "$builds" = 1 ] || fail "expected one build, saw $builds"
grep -q "^cmake --build build .*--target pakro$" "$log" || fail "the build was not limited to Pakro"

# A display.
: >"$log"
DISPLAY=:99 PATH="$work/tools:$PATH" bash "$work/tree/build.sh" run >/dev/null
grep -qx "pakro" "$log" || fail "Pakro was not started on the display"
! grep -q "xvfb-run" "$log" || fail "xvfb-run was used although there is a display"
echo "build.sh run: ok"
