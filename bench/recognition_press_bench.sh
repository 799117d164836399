#!/usr/bin/env bash
# The time from pressing "开始识别" to the last appended line for a picture
# the size of a 1920 x 1080 capture, against the scripted loopback service:
# the real lumiscribe.exe under Wine, driven by the probe. Needs the release
# tree (its end-to-end driver) and the Windows tree, which scripts/bench builds.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
B=${LUMISCRIBE_BUILD_DIR:-build}
driver=$B/bench/tests/e2e/lumiscribe_e2e
if [ ! -x "$driver" ] || [ ! -e "$B/win/app/lumiscribe.exe" ]; then
  echo "recognition_press_bench: build the bench and win trees first" >&2
  exit 1
fi
export WINEPREFIX=${WINEPREFIX:-$ROOT/$B/wineprefix}
source scripts/wine-env.sh
trap wine_env_stop EXIT
wine_env_start virtual
mkdir -p "$B/bench/results"
"$driver" --program="$B/win/app/lumiscribe.exe" --probe="$B/win/tests/e2e/lumiscribe_probe.exe" \
  --sample=resources/sample_text.jpg --gtest_also_run_disabled_tests \
  --gtest_filter='*DISABLED_PressToLastLineForAScreenCapture' |
  sed -n '/press to last line/,/appended/p' | tee "$B/bench/results/recognition_press.txt"
