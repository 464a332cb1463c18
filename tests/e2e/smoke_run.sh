#!/usr/bin/env bash
# setup.exe under Wine on a medium with the stand-in engine: it starts the engine with the
# bare installer path, waits for its completion event and ends with exit code 0.
set -u
setup_exe=$1 engine_exe=$2 work=$3
wine_run=$(dirname "$0")/../../tools/wine-run
medium=$work/smoke-medium
rm -rf "$medium" && mkdir -p "$medium"
cp "$setup_exe" "$medium/setup.exe"
cp "$engine_exe" "$medium/ishield.app"
printf 'window=1\r\ndelay=200\r\n' >"$medium/engine.cfg"

timeout 180 "$wine_run" "$medium/setup.exe"
code=$?
received=$(cat "$medium/engine-cmdline.txt" 2>/dev/null || echo "(engine never started)")
# Wine shows the Unix file system as drive Z:.
winmedium="Z:${medium//\//\\}"
expected="$winmedium\\ishield.app"
echo "exit code: $code; engine received: $received"
[[ $code -eq 0 ]] || { echo "expected exit code 0"; exit 1; }
[[ $received == "$expected" ]] || { echo "expected the engine to receive: $expected"; exit 1; }
