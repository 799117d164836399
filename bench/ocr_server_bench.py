#!/usr/bin/python3
"""Measures lumiscribe-ocr-server on the rendered evaluation set: character
error rate and latency per picture for accurate_basic and general_basic, next
to the tesseract command-line tool on the same pictures.

    ocr_server_bench.py SET_DIR PORT CLIENT_ID CLIENT_SECRET RESULT_JSON SERVER_PID

Besides the wall-clock latency it reports the server's CPU time per picture,
which a busy machine disturbs far less.
"""
import base64
import http.client
import json
import os
import ssl
import statistics
import subprocess
import sys
import time
import urllib.parse


def edit_distance(a, b):
    previous = list(range(len(b) + 1))
    for i, ca in enumerate(a, 1):
        current = [i]
        for j, cb in enumerate(b, 1):
            current.append(min(previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (ca != cb)))
        previous = current
    return previous[-1]


def squeeze(text):
    # Chinese has no spaces between words, and line breaks are not characters
    # a reader copies: compare the text without any white space.
    return "".join(text.split())


class Server:
    def __init__(self, port, client_id, secret, pid):
        self.pid = pid
        context = ssl.create_default_context()
        context.check_hostname = False
        context.verify_mode = ssl.CERT_NONE
        self.connection = http.client.HTTPSConnection("127.0.0.1", port, context=context, timeout=60)
        body = urllib.parse.urlencode({"grant_type": "client_credentials", "client_id": client_id,
                                       "client_secret": secret})
        self.token = self.post("/oauth/2.0/token", body)["access_token"]

    def post(self, path, body):
        self.connection.request("POST", path, body,
                                {"Content-Type": "application/x-www-form-urlencoded"})
        return json.loads(self.connection.getresponse().read().decode("utf-8"))

    def recognize(self, endpoint, picture):
        body = "image=" + urllib.parse.quote(base64.b64encode(picture).decode("ascii"), safe="")
        cpu_start = cpu_seconds(self.pid)
        start = time.perf_counter()
        answer = self.post("/rest/2.0/ocr/v1/%s?access_token=%s" % (endpoint, self.token), body)
        elapsed = time.perf_counter() - start
        if "error_code" in answer:
            raise RuntimeError("server error %s" % answer)
        cpu = cpu_seconds(self.pid) - cpu_start
        return "\n".join(item["words"] for item in answer["words_result"]), elapsed, cpu


def cpu_seconds(pid):
    """CPU time of every thread of a process, from the scheduler's counters."""
    if pid is None:
        return 0.0
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            total += int(open("/proc/%d/task/%s/schedstat" % (pid, task)).read().split()[0])
        except (OSError, ValueError, IndexError):
            pass
    return total / 1e9


def command_line(path):
    start = time.perf_counter()
    before = os.times()
    result = subprocess.run(["tesseract", path, "stdout", "-l", "chi_sim+eng"],
                            capture_output=True, text=True)
    after = os.times()
    cpu = (after.children_user - before.children_user) + (after.children_system - before.children_system)
    return result.stdout, time.perf_counter() - start, cpu


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def main():
    set_dir, port, client_id, secret, result_path, pid = sys.argv[1:7]
    items = [json.loads(line) for line in open(os.path.join(set_dir, "manifest.jsonl"), encoding="utf-8")]
    server = Server(int(port), client_id, secret, int(pid))
    readers = {
        "accurate_basic": lambda path, picture: server.recognize("accurate_basic", picture),
        "general_basic": lambda path, picture: server.recognize("general_basic", picture),
        "tesseract CLI": lambda path, picture: command_line(path),
    }
    # OCR_BENCH_READERS=accurate_basic,general_basic runs only those.
    chosen = os.environ.get("OCR_BENCH_READERS")
    if chosen:
        readers = {name: read for name, read in readers.items() if name in chosen.split(",")}
    stats = {name: {"edits": 0, "chars": 0, "times": [], "cpu": [], "capture_times": [], "capture_cpu": [],
                    "kinds": {}} for name in readers}
    samples = []
    for item in items:
        path = os.path.join(set_dir, item["file"])
        picture = open(path, "rb").read()
        reference = squeeze(item["text"])
        for name, read in readers.items():
            text, elapsed, cpu = read(path, picture)
            edits = edit_distance(reference, squeeze(text))
            entry = stats[name]
            entry["edits"] += edits
            entry["chars"] += len(reference)
            entry["times"].append(elapsed * 1000)
            entry["cpu"].append(cpu * 1000)
            if item["capture"]:
                entry["capture_times"].append(elapsed * 1000)
                entry["capture_cpu"].append(cpu * 1000)
            kind = entry["kinds"].setdefault(item["kind"], [0, 0])
            kind[0] += edits
            kind[1] += len(reference)
            if name == "accurate_basic" and edits and len(samples) < 12:
                samples.append((item["file"], item["text"], text))
    lines = len([l for item in items for l in item["text"].split("\n")])
    print("evaluation set: %d pictures, %d lines; latency measured by the client over HTTPS, "
          "one worker" % (len(items), lines))
    header = "%-15s %7s %8s %8s %8s %8s | %7s %7s %7s | %7s %7s %7s" % (
        "reader", "CER", "chinese", "english", "mixed", "digits", "median", "p95", "800x70",
        "median", "p95", "800x70")
    print("%-56s | %-23s | %s" % ("", "wall-clock ms", "CPU ms"))
    print(header)
    report = {}
    for name, entry in stats.items():
        kinds = {k: v[0] / v[1] for k, v in entry["kinds"].items()}
        row = {"cer": entry["edits"] / entry["chars"], "cer_by_kind": kinds,
               "median_ms": statistics.median(entry["times"]), "p95_ms": percentile(entry["times"], 0.95),
               "capture_median_ms": statistics.median(entry["capture_times"]),
               "cpu_median_ms": statistics.median(entry["cpu"]), "cpu_p95_ms": percentile(entry["cpu"], 0.95),
               "capture_cpu_median_ms": statistics.median(entry["capture_cpu"])}
        report[name] = row
        print("%-15s %6.2f%% %7.2f%% %7.2f%% %7.2f%% %7.2f%% | %7.0f %7.0f %7.0f | %7.0f %7.0f %7.0f" % (
            name, 100 * row["cer"], 100 * kinds.get("chinese", 0), 100 * kinds.get("english", 0),
            100 * kinds.get("mixed", 0), 100 * kinds.get("digits", 0), row["median_ms"], row["p95_ms"],
            row["capture_median_ms"], row["cpu_median_ms"], row["cpu_p95_ms"], row["capture_cpu_median_ms"]))
    if "accurate_basic" in report and "tesseract CLI" in report:
        ratio = report["accurate_basic"]["cer"] / max(report["tesseract CLI"]["cer"], 1e-9)
        print("accurate_basic CER / CLI CER = %.2f (goal <= 0.5)" % ratio)
    if "accurate_basic" in report:
        row = report["accurate_basic"]
        print("accurate_basic on 800x70 two-line captures: median %.0f ms wall-clock, %.0f ms CPU "
              "(goal <= 100)" % (row["capture_median_ms"], row["capture_cpu_median_ms"]))
    if samples:
        print("some accurate_basic misreadings (expected -> read):")
        for name, expected, got in samples:
            print("  %s: %r -> %r" % (name, expected, got))
    with open(result_path, "w", encoding="utf-8") as out:
        json.dump(report, out, indent=1, ensure_ascii=False)


if __name__ == "__main__":
    main()
