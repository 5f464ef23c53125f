"""Reads the JSON results of the benchmark programs (medians of their
repetitions) and prints the table of figures, baselines, ratios and goals."""
import json
import os
import sys

results = {}
for name in os.listdir(sys.argv[1]):
    with open(os.path.join(sys.argv[1], name)) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("aggregate_name") == "median":
                results[b["run_name"]] = b


def value(name, field="real_time"):
    b = results.get(name)
    if b is None:
        return None
    if field in ("real_time", "cpu_time"):
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
        return b[field] * scale
    return b.get(field)


def us(seconds):
    return f"{seconds * 1e6:.2f} µs"


def ms(seconds):
    return f"{seconds * 1e3:.1f} ms"


rows = []


def row(what, figure, shown, baseline=None, baseline_shown="", ratio_text="", goal="", met=None):
    rows.append((what, shown if figure is not None else "missing", baseline_shown,
                 ratio_text, goal, "-" if met is None else ("yes" if met else "NO")))


click = value("BM_Gen1Click")
click_base = value("BM_Gen1ClickBaseline")
row("gen1 click through automation (power on, tune, refresh)", click, us(click or 0),
    click_base, us(click_base or 0) + " (back end alone)",
    f"{click / click_base:.1f}x" if click and click_base else "", "<= 2 µs",
    click is not None and click <= 2e-6)
allocs = value("BM_Gen1Click", "allocs_per_op")
row("gen1 click: heap allocations per click", allocs, f"{allocs:g}" if allocs is not None else "",
    goal="0", met=allocs == 0)

decode = value("BM_DecodeRdsReport")
decode_base = value("BM_DecodeRdsReportIstringstream")
row("AT reply decoding, 196-value RDS report", decode, us(decode or 0), decode_base,
    us(decode_base or 0) + " (istringstream)",
    f"{decode_base / decode:.1f}x faster" if decode and decode_base else "", ">= 5x faster",
    decode is not None and decode_base is not None and decode_base / decode >= 5)

for cores, where in ((1, "handset and caller on one core"), (2, "on two cores")):
    exchange = value(f"BM_Gen2Exchange/cores:{cores}/real_time")
    raw = value(f"BM_RawTcpExchange/cores:{cores}/real_time")
    row(f"gen2 exchange through the plug-in and TESSIC.dll, {where}", exchange, us(exchange or 0),
        raw, us(raw or 0) + " (raw TCP)", f"{exchange / raw:.3f}x" if exchange and raw else "",
        "<= 1.1x", exchange is not None and raw is not None and exchange / raw <= 1.1)
    guarded = value(f"BM_RawTcpExchangeGuarded/cores:{cores}/real_time")
    row(f"  the same beside raw TCP with the transport's two guarding calls, {where}", exchange,
        us(exchange or 0), guarded, us(guarded or 0) + " (raw TCP, guarded)",
        f"{exchange / guarded:.3f}x" if exchange and guarded else "")
xallocs = value("BM_Gen2Exchange/cores:1/real_time", "allocs_per_op")
row("gen2 exchange: heap allocations per exchange", xallocs,
    f"{xallocs:g}" if xallocs is not None else "", goal="<= 1",
    met=xallocs is not None and xallocs <= 1)

cpu = value("BM_ExchangeWaitingForDelayedReply/iterations:3/real_time", "cpu_percent")
row("gen2: CPU while waiting 2 s for a reply", cpu, f"{cpu:.2f} % of a core" if cpu is not None else "",
    goal="< 1 %", met=cpu is not None and cpu < 1)

for baud in (115200, 921600):
    name = f"BM_SerialExchange/baud:{baud}/real_time"
    serial = value(name)
    bound = value(name, "line_bound_ms")
    row(f"gen2 exchange over a serial line at {baud} baud (simulated handset's pty)", serial,
        ms(serial or 0), bound, f"{bound or 0:.2f} ms (bytes x 10 bits / baud)",
        f"{serial * 1e3 / bound:.2f}x" if serial and bound else "",
        "<= 1.2x" if baud == 115200 else "",
        serial is not None and bound is not None and serial * 1e3 / bound <= 1.2
        if baud == 115200 else None)

scan = value("BM_Gen1RssiScanFullBand")
row("gen1 RSSI scan 87.5-108 MHz at 50 kHz (411 channels)", scan, ms(scan or 0), goal="< 50 ms",
    met=scan is not None and scan < 0.05)

save = value("SettingsFile/Save76Controls/real_time")
row("Save of 76 controls into a 3 MiB settings file", save, ms(save or 0), goal="< 50 ms",
    met=save is not None and save < 0.05)
load = value("SettingsFile/Load76Controls/real_time")
row("Load of 76 controls from it", load, ms(load or 0))

for size in (1, 10, 100):
    rate = value(f"BM_DecodeHexCapture/{size}", "bytes_per_second")
    rss = value(f"BM_DecodeHexCapture/{size}", "peak_rss_MB")
    row(f"fmr-rds decoding a {size} MB hex capture (one core)", rate,
        f"{(rate or 0) / 1e6:.0f} MB/s", goal=">= 50 MB/s", met=rate is not None and rate >= 50e6)
    row(f"  peak resident memory after it", rss, f"{rss or 0:.1f} MB")

header = ("figure", "measured", "baseline", "ratio", "goal", "met")
print("| " + " | ".join(header) + " |")
print("|" + "---|" * len(header))
for r in rows:
    print("| " + " | ".join(r) + " |")
