#!/usr/bin/env bash
# Character error rate and latency of lumiscribe-ocr-server (release build,
# one worker) on a rendered evaluation set, next to the tesseract tool.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
B=${LUMISCRIBE_BUILD_DIR:-build}
server="$B/bench/service/lumiscribe-ocr-server"
if [ ! -x "$server" ]; then
  echo "ocr_server_bench: $server is not built (scripts/build bench)" >&2
  exit 1
fi
set_dir="$B/bench/ocr_eval"
mkdir -p "$B/bench/results"
/usr/bin/python3 service/tools/render_eval_set.py "$set_dir"

client_id=$(sed -n 's/^LUMISCRIBE_API_KEY:STRING=//p' "$B/bench/CMakeCache.txt")
secret=$(sed -n 's/^LUMISCRIBE_SECRET_KEY:STRING=//p' "$B/bench/CMakeCache.txt")
port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$server" --listen "127.0.0.1:$port" --workers 1 --state-dir "$B/bench/ocr-state" 2>"$B/bench/results/ocr_server.log" &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null; wait "$server_pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  if grep -q "listening on" "$B/bench/results/ocr_server.log"; then break; fi
  if ! kill -0 "$server_pid" 2>/dev/null; then
    cat "$B/bench/results/ocr_server.log" >&2
    exit 1
  fi
  sleep 0.2
done
/usr/bin/python3 bench/ocr_server_bench.py "$set_dir" "$port" "$client_id" "$secret" \
  "$B/bench/results/ocr_server_bench.json" "$server_pid" | tee "$B/bench/results/ocr_server_bench.txt"
