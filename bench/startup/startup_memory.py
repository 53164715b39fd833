#!/usr/bin/env python3
"""Start-up time and memory of the browser against a one-view floor program.

For each renderer (each program's own choice, GSK_RENDERER=cairo and
GSK_RENDERER=gl) and each program,
starts the program several times on a small page served here on 127.0.0.1,
each run with its own temporary XDG directories, and measures:

- start-up: from starting the process to the page's onload event, which the
  page reports by requesting /loaded from this server;
- memory: a few seconds after onload, the PSS of the process and all its
  descendants (the WebKit web and network processes), from smaps_rollup.

Where GL can only run in software the browser chooses cairo by itself, so in
the "default" rows the floor runs GTK's GL renderer and the browser cairo; the
"gl" rows hold both to GL.

Prints the medians with the ratio and difference against the floor, the
spread of the ratio from one turn to the next, and the targets: start-up
within 1.15 times the floor's, memory within floor + 25 MB.
Needs a display (run it under scripts/with-display).
"""

import argparse
import http.server
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PAGE = (b"<!doctype html><html><head><title>Start-up</title></head>"
        b"<body onload=\"fetch('/loaded')\"><h1>Start-up</h1><p>A small local page.</p></body></html>")
START_UP_RATIO_TARGET = 1.15
MEMORY_MARGIN_TARGET_MIB = 25 * 1000 * 1000 / (1024 * 1024)  # 25 MB


class PageServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self):
        super().__init__(("127.0.0.1", 0), PageHandler)
        self.loaded = threading.Event()
        self.loaded_at = None

    def url(self):
        return "http://127.0.0.1:%d/page" % self.server_address[1]


class PageHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path == "/loaded":
            if not self.server.loaded.is_set():
                self.server.loaded_at = time.monotonic()
                self.server.loaded.set()
            body, kind = b"", "text/plain"
        elif self.path == "/page":
            body, kind = PAGE, "text/html; charset=utf-8"
        else:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def descendants(root):
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(entry))
    found, pending = [], [root]
    while pending:
        pid = pending.pop()
        found.append(pid)
        pending.extend(children.get(pid, []))
    return found


def pss_kib(pid):
    try:
        with open("/proc/%d/smaps_rollup" % pid) as rollup:
            for line in rollup:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def stop(process):
    group = os.getpgid(process.pid)
    os.killpg(group, signal.SIGTERM)
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        os.killpg(group, signal.SIGKILL)
        process.wait()
    # The web and network processes leave when their parent goes; wait for them.
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        try:
            os.killpg(group, 0)
        except ProcessLookupError:
            return
        time.sleep(0.05)
    try:
        os.killpg(group, signal.SIGKILL)
    except ProcessLookupError:
        pass


def run_once(command, renderer, settle_seconds, timeout, shader_cache=None):
    server = PageServer()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    home = tempfile.mkdtemp(prefix="sarvik-startup-")
    env = dict(os.environ)
    env.pop("GSK_RENDERER", None)
    if renderer != "default":
        env["GSK_RENDERER"] = renderer
    for name in ("XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"):
        env[name] = os.path.join(home, name.lower())
        os.makedirs(env[name])
    # Mesa keeps compiled shaders in the cache folder; a shared one stands for
    # every start after the first, a fresh one for a first start.
    env["MESA_SHADER_CACHE_DIR"] = shader_cache or os.path.join(home, "mesa_shader_cache")
    try:
        started = time.monotonic()
        process = subprocess.Popen(command + [server.url()], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            if not server.loaded.wait(timeout):
                raise RuntimeError("%s did not load the page within %d s" % (command[0], timeout))
            start_up = server.loaded_at - started
            time.sleep(settle_seconds)
            if process.poll() is not None:
                raise RuntimeError("%s exited early" % command[0])
            memory = sum(pss_kib(pid) for pid in descendants(process.pid)) / 1024
        finally:
            stop(process)
        return start_up, memory
    finally:
        server.shutdown()
        server.server_close()
        shutil.rmtree(home, ignore_errors=True)


def measure(programs, renderer, runs, settle_seconds, timeout, shader_cache):
    """Each program's runs; the programs take turns so that drift on the
    machine weighs on each alike. One unmeasured run of each first starts the
    session's accessibility bus and fills the shader cache."""
    results = {name: [] for name, _ in programs}
    for _, command in programs:
        run_once(command, renderer, 0, timeout, shader_cache)
    for _ in range(runs):
        for name, command in programs:
            results[name].append(run_once(command, renderer, settle_seconds, timeout, shader_cache))
    return results


def medians(runs):
    """The median start-up and the median memory of one program's runs."""
    return statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs)


def start_up_ratio_quartiles(floor_runs, browser_runs):
    """The first and third quartiles of the start-up ratio within each turn:
    how far one turn's ratio strays from another's on this machine."""
    ratios = [browser[0] / floor[0] for floor, browser in zip(floor_runs, browser_runs)]
    if len(ratios) < 2:
        return ratios[0], ratios[0]
    quartiles = statistics.quantiles(ratios, n=4)
    return quartiles[0], quartiles[2]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="build directory (default: build)")
    parser.add_argument("--runs", type=int, default=9, help="runs per program and renderer (default: 9)")
    parser.add_argument("--settle", type=float, default=3.0, help="seconds after onload before memory is read")
    parser.add_argument("--timeout", type=int, default=60, help="seconds to wait for onload")
    parser.add_argument("--renderers", default="default,cairo,gl",
                        help="comma-separated GSK renderers; default leaves each program its own choice")
    parser.add_argument("--cold-shader-cache", action="store_true",
                        help="start every run with an empty Mesa shader cache (a first start)")
    args = parser.parse_args()

    programs = [("floor", [os.path.join(args.build, "bench", "startup_floor")]),
                ("browser", [os.path.join(args.build, "src", "app", "sarvik-browser")])]
    print("Start-up (process start to onload) and memory (PSS of all processes, %.0f s after onload), "
          "median of %d runs" % (args.settle, args.runs))
    print("Targets: start-up <= %.2fx floor, memory <= floor + 25 MB (%.1f MiB)"
          % (START_UP_RATIO_TARGET, MEMORY_MARGIN_TARGET_MIB))
    print("Mesa shader cache: %s" % ("empty at every start" if args.cold_shader_cache else "kept between runs"))
    header = "%-8s %-8s %12s %10s %10s %10s %10s  %-22s %s"
    print(header % ("renderer", "program", "start-up s", "PSS MiB", "ratio", "diff s", "diff MiB", "targets",
                    "turn ratios q1-q3"))
    missed = []
    for renderer in args.renderers.split(","):
        shader_cache = None if args.cold_shader_cache else tempfile.mkdtemp(prefix="sarvik-shaders-")
        try:
            results = measure(programs, renderer, args.runs, args.settle, args.timeout, shader_cache)
        finally:
            if shader_cache:
                shutil.rmtree(shader_cache, ignore_errors=True)
        floor_start_up, floor_memory = medians(results["floor"])
        print("%-8s %-8s %12.3f %10.1f" % (renderer, "floor", floor_start_up, floor_memory))
        start_up, memory = medians(results["browser"])
        low, high = start_up_ratio_quartiles(results["floor"], results["browser"])
        ratio, extra = start_up / floor_start_up, memory - floor_memory
        verdict = []
        if ratio > START_UP_RATIO_TARGET:
            verdict.append("start-up over")
        if extra > MEMORY_MARGIN_TARGET_MIB:
            verdict.append("memory over")
        missed += ["%s: %s" % (renderer, v) for v in verdict]
        print("%-8s %-8s %12.3f %10.1f %9.3fx %+10.3f %+10.1f  %-22s %.2f-%.2fx" % (
            renderer, "browser", start_up, memory, ratio, start_up - floor_start_up, extra,
            ", ".join(verdict) or "met", low, high))
        sys.stdout.flush()
    # A missed target is a figure to report, not a failed build.
    print("All targets met." if not missed else "Targets missed: " + "; ".join(missed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
