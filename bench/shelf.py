"""Rows of bench/run for a shelf of novels made with --each against single runs one after
another, and for what converting the Chinese script adds to a 10 MB novel.

Imported by bench/run, which passes its own generators, runner and folders.
"""
import os
import random
import statistics
import subprocess
import time

NOVELS = int(os.environ.get("BENCH_NOVELS", "100"))
# --each against single runs one after another: at most this share of the time.
EACH_TARGET = 0.6


def make_shelf(folder, prose, count=NOVELS, seed=35):
    """`count` Chinese novels of 1 to 5 MB, each its own title, headings and slice of one
    long generated text, so that no two are alike."""
    rng = random.Random(seed)
    base = prose.text(4_000_000, "\n").decode("gbk")  # 6 MB once in UTF-8
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        size = rng.randint(1_000_000, 5_000_000) // 3  # characters of three bytes
        start = rng.randrange(len(base))
        body = (base[start:] + base)[:size]
        lines = body.split("\n")
        chapters = []
        step = max(1, len(lines) // rng.randint(40, 200))
        for c, at in enumerate(range(0, len(lines), step), start=1):
            chapters.append(f"第{c}章 山路{i}\n" + "\n".join(lines[at:at + step]))
        text = f"书名：第{i + 1}部小说\n作者：某人\n\n" + "\n".join(chapters) + "\n"
        with open(os.path.join(folder, f"{i + 1:03d}.txt"), "w", encoding="utf-8") as f:
            f.write(text)
    return sorted(os.path.join(folder, name) for name in os.listdir(folder))


def peak_kib(command):
    """(wall, CPU, peak resident KiB) of one run under /usr/bin/time."""
    start = time.perf_counter()
    result = subprocess.run(["/usr/bin/time", "-f", "%M %U %S", *command], capture_output=True,
                            text=True)
    wall = time.perf_counter() - start
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(command[:3])} failed: {result.stderr.strip()[-500:]}")
    rss, user, system = result.stderr.strip().split("\n")[-1].split()
    return wall, float(user) + float(system), int(rss)


def measure_each(cli, scratch, prose, largest_limit):
    """The --each row: the shelf made one book at a time, then with --each."""
    folder = os.path.join(scratch, "shelf")
    sources = make_shelf(folder, prose)
    largest = max(os.path.getsize(s) for s in sources)
    one_by_one = os.path.join(scratch, "shelf-single")
    each = os.path.join(scratch, "shelf-each")
    os.makedirs(one_by_one)
    single_wall = single_cpu = 0.0
    single_rss = 0
    for source in sources:
        book = os.path.join(one_by_one, os.path.basename(source) + ".epub")
        wall, cpu, rss = peak_kib([cli, "-q", "-o", book, source])
        single_wall += wall
        single_cpu += cpu
        single_rss = max(single_rss, rss)
    jobs = os.cpu_count() or 1
    each_wall, each_cpu, each_rss = peak_kib([cli, "--each", "-o", each, folder])
    limit = largest_limit(largest) * jobs
    ratio = each_wall / single_wall
    return [
        "",
        f"## --each: {len(sources)} Chinese novels of 1 to 5 MB "
        f"({sum(os.path.getsize(s) for s in sources) / 2**20:.0f} MiB)",
        "",
        f"One run each, one after another, against one `--each` run ({jobs} jobs, the cores). "
        f"Target: --each at most {EACH_TARGET} of the time; peak memory within the single "
        "book's limit (2.5 times the largest source plus 40 MB) times the jobs.",
        "",
        "| run | wall s | CPU s | peak RSS MiB | limit MiB | each/single | met |",
        "|---|---:|---:|---:|---:|---:|---|",
        f"| single runs | {single_wall:.1f} | {single_cpu:.1f} | {single_rss / 1024:.0f} "
        f"| {largest_limit(largest):.0f} | | |",
        f"| --each | {each_wall:.1f} | {each_cpu:.1f} | {each_rss / 1024:.0f} | {limit:.0f} "
        f"| {ratio:.2f} | {'yes' if ratio <= EACH_TARGET and each_rss / 1024 <= limit else '**no**'} |",
    ]


def measure_script(cli, scratch, prose, runs, run):
    """The script row: a 10 MB Simplified novel kept, and converted to each script."""
    folder = os.path.join(scratch, "script")
    os.makedirs(folder)
    text = prose.text(6_700_000, "\n").decode("gbk")  # 10 MB once in UTF-8
    lines = text.split("\n")
    step = len(lines) // 400
    source = os.path.join(folder, "novel.txt")
    with open(source, "w", encoding="utf-8") as f:
        for c, at in enumerate(range(0, len(lines), step), start=1):
            f.write(f"第{c}章 渡口\n" + "\n".join(lines[at:at + step]) + "\n")
    scripts = ["keep", "simplified", "traditional", "taiwan", "hongkong"]
    times = {s: [] for s in scripts}
    for _ in range(runs):
        for script in scripts:  # in turn, so that the machine's load falls on all alike
            book = os.path.join(folder, script + ".epub")
            times[script].append(run([cli, "-q", "--chinese-script", script, "-o", book, source]))
    median = {s: (statistics.median(t[0] for t in times[s]),
                  statistics.median(t[1] for t in times[s])) for s in scripts}
    keep_wall, keep_cpu = median["keep"]
    lines = ["", f"## Chinese script: a {os.path.getsize(source) / 2**20:.1f} MiB Simplified "
             "novel of 400 chapters", "",
             f"{runs} runs each, medians. Added = the script's time less `keep`'s; the target is "
             "added time at most the rest of the conversion (`keep`'s), judged on CPU time, "
             "which the load of a shared machine sways less than wall time.", "",
             "| --chinese-script | wall ms | CPU ms | added wall ms | added CPU ms | added/keep "
             "wall | added/keep CPU | met |", "|---|---:|---:|---:|---:|---:|---:|---|"]
    for script in scripts:
        wall, cpu = median[script]
        added = wall - keep_wall
        added_cpu = cpu - keep_cpu
        ok = "" if script == "keep" else ("yes" if added_cpu <= keep_cpu else "**no**")
        lines.append(f"| {script} | {wall * 1000:.0f} | {cpu * 1000:.0f} | {added * 1000:.0f} "
                     f"| {added_cpu * 1000:.0f} | {added / keep_wall:.2f} "
                     f"| {added_cpu / keep_cpu:.2f} | {ok} |")
    return lines
