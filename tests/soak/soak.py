#!/usr/bin/env python3
"""Soak: the real Ringhold.exe under Wine with full logging, fed call reports at up to 1.5 a
second, first over UDP and then over a serial pseudo-terminal paced at 9600 bit/s, on a call log
seeded with a year of older calls, while the log purge and a report with PDF output work on the
same log. Afterwards an exact audit: the call log holds every call the server had to log exactly
once and every seeded call newer than the purge's cut-off, the station display file shows the
last call of each line, and the raw capture holds every report once, in order. The server's
working set and processor time are sampled throughout.

    soak.py --minutes M [--year-calls N] [--dir FOLDER] [--sample-seconds S]

Needs the environment the test scripts get (RING_BIN, RING_WINE_DIR, RING_WINE_RUN,
RING_BUILD_DIR); scripts/soak provides it for the long run. Exit 0: audit passed; 77: this
machine cannot run the build's Windows programs; 1: audit failed."""
import argparse
import datetime
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time

# Configuration bits the soak runs with: logging, full logging, outbound too, raw capture, the
# display refreshed at the start and the end of a call.
OPTIONS = (1 << 1) | (1 << 2) | (1 << 3) | (1 << 4) | (1 << 7)
FIRST_LINE, LAST_LINE = 1, 8
SERIAL_COM = 7  # a COM port no other Wine test maps
PURGE_DAYS = 31
WITHHELD = ("PRIVATE", "OUT-OF-AREA", "UNKNOWN")

env = os.environ
BIN, WINE_DIR, WINE_RUN = env["RING_BIN"], env["RING_WINE_DIR"], env["RING_WINE_RUN"]
NATIVE = env.get("RING_E2E_NATIVE_BUILD") or env["RING_BUILD_DIR"].rstrip("/")[:-5] + "native"
UNITSIM = os.path.join(NATIVE, "tools/unitsim/unitsim")


def say(text):
    print(f"[{time.strftime('%H:%M:%S')}] {text}", flush=True)


def windows_path(path, folder=False):
    return "Z:" + path.replace("/", "\\") + ("\\" if folder else "")


def wine(*args, cwd=None, extra_env=None):
    """A Windows program run to its end; its output without CRs and its exit code."""
    run_env = dict(env, **(extra_env or {}))
    done = subprocess.run([WINE_RUN, WINE_DIR, *args], cwd=cwd, env=run_env,
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return done.stdout.replace("\r", ""), done.returncode


# ---- what the server must have done, from the reports it was sent -------------------------

def field(report, column):
    """The field at a 1-based column: one word, the name keeps its spaces (columns 1 to 80)."""
    text = report[:80][column - 1:]
    return text if column == 48 else text.split(" ")[0]


def classify(number):
    word = number.strip().upper()
    return word if word in WITHHELD else "".join(c for c in number if c.isdigit())


def leading_number(text):
    digits = ""
    for c in text.lstrip(" "):
        if not c.isdigit():
            break
        digits += c
    return int(digits) if digits else 0


class Expected:
    """The server's state and output as its documented rules give them, report by report."""

    def __init__(self, today_day):
        self.today = datetime.date.today()
        self.today_day = today_day
        self.display = {}  # line -> (number, name, time)
        self.pending = {}
        self.logged = []  # tuples as call_log_dump prints them
        self.raw = []

    def server_started(self):
        self.pending = {}
        for line in range(FIRST_LINE, LAST_LINE + 1):
            self.display[line] = ("Waiting", "For Call", "")

    def day_number(self, month_day):
        month, day = (int(x) for x in month_day.split("/"))
        date = datetime.date(self.today.year, month, day)
        if date > self.today + datetime.timedelta(days=1):
            date = date.replace(year=date.year - 1)
        return self.today_day + (date - self.today).days

    def report(self, report):
        self.raw.append(report)
        line = leading_number(field(report, 1))
        if not FIRST_LINE <= line <= LAST_LINE:
            return
        event, direction = field(report, 6), field(report, 4)
        name = field(report, 48)
        if event == "E":
            shown = ("Waiting", "For Call", "")
        else:
            shown = (field(report, 33), name, field(report, 24) + " " + field(report, 30))
        error = field(report, 13) != "G"
        if error and event == "S":
            shown = (shown[0], "*" + shown[1], shown[2])
        if direction != "O":
            self.display[line] = (shown[0][:19], shown[1][:19], shown[2][:9])
        if event == "S":
            self.pending[line] = name
            return
        hour, minute = (leading_number(x) for x in field(report, 24).split(":"))
        meridiem = field(report, 30)
        hour = hour % 12 + (12 if meridiem == "PM" else 0)
        self.logged.append((
            self.day_number(field(report, 18)), (hour * 60 + minute) * 60, line, direction,
            classify(field(report, 33))[:20], self.pending.get(line, "")[:31],
            leading_number(field(report, 8)), leading_number(field(report, 16)),
            2 if error else 0, "".join(c for c in name if c in "*#0123456789")[:31], "clean"))


# ---- the calls -----------------------------------------------------------------------------

def call_scenario(calls, prefix, rng, path, rate):
    """Calls on overlapping lines, each a start and later an end report, as unitsim steps at
    the soak's rate; a few reports for a line outside the server's range among them."""
    gap_ms = int(1000 / rate)
    steps, active, started = [], {}, 0
    while started < calls or active:
        free = [n for n in range(FIRST_LINE, LAST_LINE + 1) if n not in active]
        if started < calls and free and (len(active) < 3 and rng.random() < 0.6 or not active):
            line = rng.choice(free)
            outbound = rng.random() < 0.15
            number = (rng.choice(WITHHELD) if rng.random() < 0.05
                      else f"555-{rng.randint(200, 999)}-{rng.randint(0, 9999):04d}")
            call = {"line": line, "dir": "O" if outbound else "I", "number": number,
                    "check": "G" if rng.random() < 0.95 else "P"}
            name = "" if outbound else f"CALLER {prefix}{started:05d}"
            active[line] = (call, name)
            started += 1
            fields = dict(call, event="S", rings=0, name=name)
        else:
            line = rng.choice(sorted(active))
            call, name = active.pop(line)
            extra = rng.choice(["", "*72#", "1234", "#9"]) if call["dir"] == "O" else name
            fields = dict(call, event="E", dur=rng.randint(5, 900), rings=rng.randint(0, 9),
                          name=extra)
        steps.append("call " + ",".join(f'{k}="{v}"' if k in ("number", "name") else f"{k}={v}"
                                        for k, v in fields.items()))
        if rng.random() < 0.01:
            steps.append(f"call line=12,event=S,number=555-000-1212,name=\"OTHER UNIT {started}\"")
        steps.append(f"wait {gap_ms}")
    with open(path, "w") as f:
        f.write("\n".join(steps) + "\n")
    return sum(1 for s in steps if s.startswith("call "))


def sent_reports(log_path):
    with open(log_path, errors="replace") as f:
        return [line[5:].rstrip("\n") for line in f if line.startswith("sent ")]


# ---- the running server --------------------------------------------------------------------

def find_linux_process(exe, prefix):
    """The Linux process running a Windows program of this Wine prefix."""
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            cmdline = open(f"/proc/{pid}/cmdline", "rb").read()
            environ = open(f"/proc/{pid}/environ", "rb").read().split(b"\0")
        except OSError:
            continue
        if exe.encode() in cmdline and b"WINEPREFIX=" + prefix.encode() in environ:
            return int(pid)
    return None


class Sampler(threading.Thread):
    """Working set (RSS of the Wine process) and processor seconds every few seconds."""

    def __init__(self, pid, every, csv_path, backlog):
        super().__init__(daemon=True)
        self.pid, self.every, self.samples, self.backlog = pid, every, [], backlog
        self.stop = threading.Event()
        self.csv = open(csv_path, "w")
        self.csv.write("seconds,rss_kb,cpu_s,backlog\n")

    def sample(self):
        ticks = os.sysconf("SC_CLK_TCK")
        try:
            rss = next(int(l.split()[1]) for l in open(f"/proc/{self.pid}/status")
                       if l.startswith("VmRSS:"))
            stat = open(f"/proc/{self.pid}/stat").read().rsplit(")", 1)[1].split()
        except (OSError, StopIteration):
            return
        cpu = (int(stat[11]) + int(stat[12])) / ticks
        backlog = self.backlog()
        self.samples.append((time.monotonic(), rss, cpu, backlog))
        self.csv.write(f"{time.monotonic():.1f},{rss},{cpu:.2f},{backlog}\n")
        self.csv.flush()

    def run(self):
        while not self.stop.wait(self.every):
            self.sample()


def wait_until(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while not condition():
        if time.monotonic() > deadline:
            raise SystemExit(f"soak: timed out waiting for {what}")
        time.sleep(0.5)


def read_display(prog):
    try:
        data = open(os.path.join(prog, "DATA/OvenCID.DAT"), "rb").read()
    except OSError:
        return {}
    text = lambda b: b.split(b"\0")[0].decode("latin-1")
    return {n // 50 + 1: (text(data[n:n + 20]), text(data[n + 20:n + 40]), text(data[n + 40:n + 50]))
            for n in range(0, len(data) - 49, 50)}


def raw_lines(prog):
    try:
        with open(os.path.join(prog, "DATA/QuorlRaw.txt"), "rb") as f:
            return f.read().decode("latin-1").split("\r\n")[:-1]
    except OSError:
        return []


def write_config(prog, port_sel):
    with open(os.path.join(prog, "DATA/QuorlCID.CFG"), "wb") as f:
        f.write(struct.pack("<BBBBI24s", port_sel, 1, FIRST_LINE, LAST_LINE, OPTIONS, bytes(24)))


def dump_log(prog):
    out, rc = wine(os.path.join(BIN, "call_log_dump.exe"), windows_path(prog, True))
    lines = out.splitlines()
    if rc != 0 or not lines or not lines[0].startswith("today "):
        raise SystemExit(f"soak: call_log_dump failed ({rc}): {out[:500]}")
    records = []
    for line in lines[1:]:
        f = line.split("\t")
        records.append((int(f[0]), int(f[1]), int(f[2]), f[3], f[4].rstrip(" "), f[5],
                        int(f[6]), int(f[7]), int(f[8]), f[9], f[10]))
    return int(lines[0].split()[1]), records


class Failures:
    def __init__(self):
        self.count = 0

    def check(self, what, ok, detail=""):
        say(("ok   " if ok else "FAIL ") + what + ("" if ok else f": {detail}"))
        self.count += not ok


# ---- the run -------------------------------------------------------------------------------

def side_work(prog, work, results, today):
    """The back office's work on the same log: a purge beside a statistics report of the year."""
    year_ago = (today - datetime.timedelta(days=400)).strftime("%m-%d-%Y")
    report_env = {"PRNVIEW32_PDF": windows_path(os.path.join(work, "statistics.pdf"))}
    report = threading.Thread(target=lambda: results.__setitem__("statistics", wine(
        os.path.join(prog, "tally_host.exe"), "CllStsRpt", "--range", year_ago, "00:00:00",
        today.strftime("%m-%d-%Y"), "23:59:59", "254", extra_env=report_env)))
    report.start()
    results["purge"] = wine(os.path.join(BIN, "purge_host.exe"), "purge",
                            windows_path(prog, True), str(PURGE_DAYS))
    report.join()


def inbound_report(prog, work, results, today):
    day = today.strftime("%m-%d-%Y")
    results["inbound"] = wine(
        os.path.join(prog, "tally_host.exe"), "IBLogRpt", "--range", day, "00:00:00", day,
        "23:59:59", "254",
        extra_env={"PRNVIEW32_PDF": windows_path(os.path.join(work, "inbound.pdf"))})


def pdf_text(path):
    done = subprocess.run(["pdftotext", "-layout", path, "-"], stdout=subprocess.PIPE, text=True)
    return done.stdout if done.returncode == 0 else ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--minutes", type=float, required=True, help="time under load")
    parser.add_argument("--year-calls", type=int, default=None,
                        help="seeded calls 40 to 400 days old (default 150 a minute, at most 8000)")
    parser.add_argument("--dir", default=None, help="folder for the program directory")
    parser.add_argument("--sample-seconds", type=float, default=None)
    parser.add_argument("--rate", type=float, default=1.4,
                        help="reports a second (the server takes at most two)")
    args = parser.parse_args()
    load_seconds = args.minutes * 60
    year_calls = args.year_calls or min(8000, int(150 * args.minutes))
    every = args.sample_seconds or max(1.0, load_seconds / 600)

    if wine(os.path.join(BIN, "call_log_dump.exe"))[1] == 77:
        sys.exit(77)
    if not os.access(UNITSIM, os.X_OK):
        say(f"building the Linux simulator in {NATIVE}")
        source = env["RING_SOURCE_DIR"]
        subprocess.run(["cmake", "--preset", "native", "-B", NATIVE], cwd=source, check=True,
                       stdout=subprocess.DEVNULL)
        subprocess.run(["cmake", "--build", NATIVE, "--target", "unitsim"], check=True,
                       stdout=subprocess.DEVNULL)

    # Every insert is a synced commit: tmpfs where there is one keeps the seeding short.
    base = args.dir or ("/dev/shm" if os.access("/dev/shm", os.W_OK) else None)
    work = tempfile.mkdtemp(prefix="ring-soak.", dir=base)
    prog = os.path.join(work, "prog")
    os.makedirs(os.path.join(prog, "DATA"))
    os.makedirs(os.path.join(prog, "CONTROL"))
    for f in ("Ringhold.exe", "tally_host.exe", "Ringtally.dll", "KEYFILE.dll", "Pantry.dll",
              "Cfgvault.dll", "PRNVIEW32.dll", "Reptopt.dll"):
        shutil.copy(os.path.join(BIN, f), prog)
    udp_port = 20000 + random.randrange(20000)
    with open(os.path.join(prog, "POSOvena.INI"), "w", newline="") as f:
        f.write(f"[Store]\r\nName=Soak Pizza\r\n[CIDServer]\r\nIPTimeOut=1\r\nUDPPort={udp_port}\r\n")
    write_config(prog, 9)
    prefix = os.path.realpath(os.path.join(WINE_DIR, "prefix"))
    com_link = os.path.join(prefix, "dosdevices", f"com{SERIAL_COM}")
    children, failures = [], Failures()

    def cleanup():
        wine(os.path.join(BIN, "ringctl.exe"), "end")
        for child in children:
            if child.poll() is None:
                child.send_signal(signal.SIGTERM)
                child.wait()
        if os.path.islink(com_link):
            os.unlink(com_link)

    try:
        rng = random.Random(10)
        udp_calls = max(20, int(load_seconds * args.rate / 2 * 2500 / 2800))
        serial_calls = max(10, int(load_seconds * args.rate / 2 * 300 / 2800))
        call_scenario(udp_calls, "U", rng, os.path.join(work, "udp.txt"), args.rate)
        call_scenario(serial_calls, "S", rng, os.path.join(work, "serial.txt"), args.rate)

        say(f"seeding {year_calls} calls of the last year and {year_calls // 12} of this month")
        out, rc = wine(os.path.join(BIN, "purge_host.exe"), "seed", windows_path(prog, True),
                       str(year_calls), str(year_calls // 12))
        if rc != 0:
            raise SystemExit(f"soak: seeding failed: {out}")
        today_day, seeded = dump_log(prog)
        cutoff = today_day - PURGE_DAYS
        seeded_kept = sorted(r for r in seeded if r[0] > cutoff)
        expected = Expected(today_day)

        say(f"Ringhold on UDP port {udp_port}, {udp_calls} calls, then {serial_calls} on COM{SERIAL_COM}")
        children.append(subprocess.Popen([WINE_RUN, WINE_DIR, os.path.join(prog, "Ringhold.exe")],
                                         cwd=prog, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL))
        waiting = lambda: all(read_display(prog).get(n, ("",))[0] == "Waiting"
                              for n in range(FIRST_LINE, LAST_LINE + 1))
        wait_until(waiting, 120, "the server's first waiting records")
        wait_until(lambda: find_linux_process("Ringhold.exe", prefix) is not None, 30,
                   "Ringhold's Linux process")
        pid = find_linux_process("Ringhold.exe", prefix)
        usage_csv = os.path.join(env["RING_BUILD_DIR"], f"soak-usage-{args.minutes:g}min.csv")
        udp_log = os.path.join(work, "udp.log")
        serial_log = os.path.join(work, "serial.log")

        def backlog():
            # Reports sent but not yet taken by the server: queued in the socket or the port.
            sent = sum(len(sent_reports(p)) for p in (udp_log, serial_log) if os.path.exists(p))
            return sent - len(raw_lines(prog))

        sampler = Sampler(pid, every, usage_csv, backlog)
        sampler.sample()
        sampler.start()
        started_at = time.monotonic()
        expected.server_started()

        # UDP phase, with the purge and a report against the log a quarter into the run, and
        # the inbound report of today later on.
        unit = subprocess.Popen([UNITSIM, "--udp", f"127.0.0.1:{udp_port}", "--scenario",
                                 os.path.join(work, "udp.txt"), "--exit-after", "500",
                                 "--log", udp_log])
        children.append(unit)
        side, today = {}, datetime.date.today()
        for at, job in ((0.25, side_work), (0.6, inbound_report)):
            while unit.poll() is None and time.monotonic() - started_at < at * load_seconds:
                time.sleep(1)
            say(f"{job.__name__} starts")
            job(prog, work, side, today)
            say(f"{job.__name__} ended")
        unit.wait()
        for report in sent_reports(udp_log):
            expected.report(report)
        wait_until(lambda: len(raw_lines(prog)) >= len(expected.raw), 300,
                   "the server to take every datagram")

        # Serial phase: the server stopped and started again from its menu on a new link.
        stopped_at = time.monotonic()
        out, rc = wine(os.path.join(BIN, "ringctl.exe"), "stop")
        failures.check("server stopped for the link change", rc == 0, out)
        offline = read_display(prog)
        failures.check("every line offline while stopped",
                       all(offline[n][:2] == ("SERVER", "OFFLINE")
                           for n in range(FIRST_LINE, LAST_LINE + 1)), str(offline))
        pty = os.path.join(work, "pty")
        os.makedirs(pty)
        socat = subprocess.Popen(["socat", f"pty,raw,echo=0,b9600,link={pty}/unit",
                                  f"pty,raw,echo=0,b9600,link={pty}/host"])
        children.append(socat)
        wait_until(lambda: os.path.exists(f"{pty}/unit") and os.path.exists(f"{pty}/host"), 10,
                   "the pseudo-terminal pair")
        # socat ends when a side's last user closes it: hold both ends for the whole phase.
        held = [os.open(f"{pty}/{end}", os.O_RDWR | os.O_NOCTTY) for end in ("unit", "host")]
        os.symlink(f"{pty}/host", com_link)
        write_config(prog, SERIAL_COM)
        out, rc = wine(os.path.join(BIN, "ringctl.exe"), "start")
        failures.check("server started on the serial link", rc == 0, out)
        wait_until(waiting, 120, "the serial link's waiting records")
        restarted_at = time.monotonic()
        expected.server_started()
        unit = subprocess.Popen([UNITSIM, "--serial", f"{pty}/unit", "--baud", "9600",
                                 "--scenario", os.path.join(work, "serial.txt"),
                                 "--exit-after", "500", "--log", serial_log])
        children.append(unit)
        unit.wait()
        for report in sent_reports(serial_log):
            expected.report(report)
        wait_until(lambda: len(raw_lines(prog)) >= len(expected.raw), 300,
                   "the server to take every serial report")
        time.sleep(2)  # the last pass writes the display after the raw capture
        sampler.stop.set()
        sampler.join()
        sampler.sample()
        final_display = read_display(prog)
        out, rc = wine(os.path.join(BIN, "ringctl.exe"), "end")
        failures.check("Ringhold ended from its window", rc == 0, out)
        for fd in held:
            os.close(fd)

        # The audit.
        raw = raw_lines(prog)
        failures.check(f"raw capture holds all {len(expected.raw)} reports once, in order",
                       raw == expected.raw,
                       f"{len(raw)} lines; first difference at "
                       f"{next((i for i, (a, b) in enumerate(zip(raw, expected.raw)) if a != b), min(len(raw), len(expected.raw)))}")
        failures.check("display shows each line's last call",
                       all(final_display.get(n) == expected.display[n]
                           for n in range(FIRST_LINE, LAST_LINE + 1)),
                       f"\n  got      {final_display}\n  expected {expected.display}")
        ended = read_display(prog)
        stamps = {ended[n][2] for n in range(FIRST_LINE, LAST_LINE + 1)}
        failures.check("display ends offline on every line, one time, nothing beyond the range",
                       len(ended) == LAST_LINE and len(stamps) == 1 and
                       all(ended[n][:2] == ("SERVER", "OFFLINE")
                           for n in range(FIRST_LINE, LAST_LINE + 1)), str(ended))
        failures.check("no lock file left", os.listdir(os.path.join(prog, "CONTROL")) == [],
                       str(os.listdir(os.path.join(prog, "CONTROL"))))
        _, records = dump_log(prog)
        server = sorted(r for r in records if not r[5].startswith("SEED"))
        left = sorted(r for r in records if r[5].startswith("SEED"))
        want = sorted(expected.logged)
        missing = [r for r in want if r not in server]
        extra = [r for r in server if r not in want]
        failures.check(f"call log holds the {len(want)} calls the server had to log, each once",
                       server == want, f"{len(server)} found; missing {missing[:3]}, "
                                       f"not expected {extra[:3]}")
        failures.check(f"call log keeps the {len(seeded_kept)} seeded calls after the cut-off",
                       left == seeded_kept, f"{len(left)} left")
        purged = len(seeded) - len(seeded_kept)
        purge_out, purge_rc = side.get("purge", ("not run", 1))
        failures.check(f"purge deleted the {purged} calls at or before the cut-off",
                       f"box Done!|{purged} records deleted!" in purge_out, purge_out)
        for name, title in (("statistics", "Call Statistics from"),
                            ("inbound", "Inbound Call Log From")):
            out, rc = side.get(name, ("not run", 1))
            text = pdf_text(os.path.join(work, f"{name}.pdf"))
            failures.check(f"{name} report written as PDF beside the server",
                           rc == 0 and out.rstrip().endswith("done") and title in text,
                           f"{out} / {text[:200]}")

        # Figures: the working set from 10 % of the run to its end.
        samples = sampler.samples
        span = samples[-1][0] - samples[0][0]
        at10 = next(s for s in samples if s[0] - samples[0][0] >= 0.1 * span)
        last = samples[-1]
        growth = last[1] - at10[1]
        peak = max(s[1] for s in samples if s[0] >= at10[0])
        cpu = last[2] - samples[0][2]
        # The restart is one step (Wine frees an ended thread's stack only when the next thread
        # ends), so the growth within each server run is shown beside the whole run's.
        before = [s for s in samples if s[0] <= stopped_at][-1]
        after = next((s for s in samples if s[0] >= restarted_at), last)
        udp_growth = f"{before[1] - at10[1]} kB" if at10[0] <= stopped_at else "n/a"
        print(f"""
soak figures ({span / 60:.1f} minutes under load, {len(samples)} samples):
  calls sent: {udp_calls} over UDP, {serial_calls} over serial; reports {len(expected.raw)}
  calls logged by the server: {len(want)}; seeded {len(seeded)}, purged {purged}
  processor: {cpu:.1f} s, {100 * cpu / span:.2f} % of one core on average
  most reports waiting for the server at a sample: {max(s[3] for s in samples)}
  working set: {at10[1]} kB at 10 %, {last[1]} kB at 100 %, peak after 10 % {peak} kB
  growth from 10 % to 100 %: {growth} kB (flat, under 256 kB: {'yes' if growth < 256 else 'no'})
  of it: UDP run from 10 % to its stop {udp_growth}, restart {after[1] - before[1]} kB, serial run {last[1] - after[1]} kB
  audit: {'passed' if failures.count == 0 else f'{failures.count} FAILED'}
  samples: {usage_csv}""", flush=True)
    finally:
        cleanup()
    if failures.count == 0 and not args.dir:
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(1 if failures.count else 0)


if __name__ == "__main__":
    main()
