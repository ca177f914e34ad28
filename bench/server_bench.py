#!/usr/bin/env python3
"""Measures the viewer server against python3 -m http.server and nginx on the
same files with the same clients: requests per second for a 200 KB picture
(1 and 20 keep-alive clients, wrk), MB/s for one 300 MB file, and the
server's peak resident memory while 20 clients read that file at 100 KB/s.
Each server is started here on a loopback port and stopped after."""

import argparse
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

KB = 1024
MB = 1024 * 1024


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_port(port, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)
    raise RuntimeError(f"nothing listens on {port}")


def pids_of(root_pid):
    """The process and its children (nginx runs workers)."""
    pids = [root_pid]
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    if int(stat.read().split(")")[1].split()[1]) == root_pid:
                        pids.append(int(entry))
            except OSError:
                pass
    return pids


def resident_kb(pids):
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/status") as status:
                total += int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))
        except (OSError, AttributeError):
            pass
    return total


class Server:
    def __init__(self, name, command, port, prefix, cwd=None):
        self.name, self.port, self.prefix = name, port, prefix
        self.process = subprocess.Popen(command, cwd=cwd, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def start_vimbrel(cli, folder, app):
    process = subprocess.Popen([cli, "show", folder, "--app-folder", app, "--serve"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    process.stdout.readline()
    url = process.stdout.readline().strip()
    match = re.match(r"http://127\.0\.0\.1:(\d+)(/[0-9a-f]+)", url)
    server = Server.__new__(Server)
    server.name, server.process = "vimbrel", process
    server.port, server.prefix = int(match.group(1)), match.group(2) + folder
    return server


def start_python(folder):
    port = free_port()
    server = Server("python3 -m http.server",
                    [sys.executable, "-m", "http.server", "--bind", "127.0.0.1", str(port)],
                    port, "", cwd=folder)
    wait_port(port)
    return server


def start_nginx(folder, work):
    port = free_port()
    config = os.path.join(work, "nginx.conf")
    with open(config, "w") as out:
        out.write(f"""daemon off; worker_processes auto; pid {work}/nginx.pid;
error_log {work}/error.log; events {{ worker_connections 1024; }}
http {{ access_log off; sendfile on; tcp_nopush on; keepalive_requests 1000000;
  client_body_temp_path {work}/body; proxy_temp_path {work}/proxy;
  fastcgi_temp_path {work}/fastcgi; uwsgi_temp_path {work}/uwsgi; scgi_temp_path {work}/scgi;
  server {{ listen 127.0.0.1:{port}; root {folder}; }} }}
""")
    server = Server("nginx", ["nginx", "-c", config, "-p", work], port, "")
    wait_port(port)
    return server


def wrk(server, path, clients, seconds):
    url = f"http://127.0.0.1:{server.port}{server.prefix}/{path}"
    out = subprocess.run(["wrk", "-t", str(min(clients, 2)), "-c", str(clients), "-d",
                          f"{seconds}s", "-H", f"Host: 127.0.0.1:{server.port}", url],
                         capture_output=True, text=True, check=True).stdout
    if "Non-2xx" in out or "Socket errors" in out:
        raise RuntimeError(f"{server.name} did not serve {path} cleanly:\n{out}")
    return float(re.search(r"Requests/sec:\s+([\d.]+)", out).group(1))


def download_speed(server, path, times=3):
    """MB/s of one client fetching the whole file, best of `times`."""
    url = f"http://127.0.0.1:{server.port}{server.prefix}/{path}"
    best = 0.0
    for _ in range(times):
        out = subprocess.run(["curl", "-s", "-o", "/dev/null", "-w", "%{http_code} %{speed_download}",
                              url], capture_output=True, text=True, check=True).stdout.split()
        if out[0] != "200":
            raise RuntimeError(f"{server.name} answered {out[0]} for {path}")
        best = max(best, float(out[1]) / MB)
    return best


def slow_readers(server, path, clients, rate, seconds):
    """`clients` connections each reading at `rate` bytes/s; returns the peak
    resident memory of the server (KB) seen meanwhile, and at the start."""
    pids = pids_of(server.process.pid)
    start = resident_kb(pids)
    peak = start
    stop = threading.Event()

    def reader():
        s = socket.create_connection(("127.0.0.1", server.port))
        s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 64 * KB)
        s.sendall(f"GET {server.prefix}/{path} HTTP/1.1\r\nHost: 127.0.0.1:{server.port}\r\n\r\n"
                  .encode())
        chunk = rate // 10
        while not stop.is_set():
            if not s.recv(chunk):
                break
            time.sleep(0.1)
        s.close()

    threads = [threading.Thread(target=reader) for _ in range(clients)]
    for thread in threads:
        thread.start()
    end = time.time() + seconds
    while time.time() < end:
        peak = max(peak, resident_kb(pids_of(server.process.pid)))
        time.sleep(0.2)
    stop.set()
    for thread in threads:
        thread.join()
    return start, peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True, help="the vimbrel-cli to measure")
    parser.add_argument("--seconds", type=int, default=5)
    parser.add_argument("--slow-seconds", type=int, default=20)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as work:
        os.chmod(work, 0o755)  # nginx's workers run as another user
        folder = os.path.join(work, "pictures")
        app = os.path.join(work, "app")
        os.makedirs(folder)
        os.makedirs(app)
        with open(os.path.join(folder, "picture.jpg"), "wb") as out:
            out.write(os.urandom(200 * KB))
        with open(os.path.join(folder, "big.bmp"), "wb") as out:
            for _ in range(300):
                out.write(os.urandom(MB))

        rows = []
        notes = []
        for name, start in (("vimbrel", lambda: start_vimbrel(args.cli, folder, app)),
                            ("python", lambda: start_python(folder)),
                            ("nginx", lambda: start_nginx(folder, work))):
            # A measurement that fails gives its cell a dash and the table a
            # note; the other measurements and servers go on.
            def measured(what, measure):
                try:
                    return measure()
                except (RuntimeError, OSError, subprocess.CalledProcessError) as error:
                    notes.append((name, f"{what}: {str(error).strip().splitlines()[0]}"))
                    return None

            server = measured("start", start)
            if server is None:
                rows.append((name, None, None, None, None, None))
                continue
            try:
                one = measured("1 client", lambda: wrk(server, "picture.jpg", 1, args.seconds))
                twenty = measured("20 clients",
                                  lambda: wrk(server, "picture.jpg", 20, args.seconds))
                big = measured("300 MB file", lambda: download_speed(server, "big.bmp"))
                memory = measured("slow readers", lambda: slow_readers(
                    server, "big.bmp", 20, 100 * KB, args.slow_seconds))
                before, peak = memory if memory is not None else (None, None)
                rows.append((name, one, twenty, big,
                             None if before is None else before / 1024,
                             None if peak is None else peak / 1024))
            finally:
                server.stop()

    def cell(value, form):
        return "—" if value is None else format(value, form)

    print("| server | 200 KB, 1 client (req/s) | 200 KB, 20 clients (req/s) "
          "| 300 MB file (MB/s) | RSS before slow readers (MB) | peak with 20 slow readers (MB) |")
    print("|---|---:|---:|---:|---:|---:|")
    for name, one, twenty, big, before, peak in rows:
        print(f"| {name} | {cell(one, ',.0f')} | {cell(twenty, ',.0f')} | {cell(big, ',.0f')} "
              f"| {cell(before, '.1f')} | {cell(peak, '.1f')} |")
    for name, note in notes:
        print(f"- {name}: {note}")
    # The tool's own row must be whole; a peer's bad run is only noted.
    if any(name == "vimbrel" for name, _ in notes):
        sys.exit(1)


if __name__ == "__main__":
    main()
