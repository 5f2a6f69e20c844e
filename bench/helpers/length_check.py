#!/usr/bin/env python3
"""How often the result check of a conversion is wrong, on every clip the tests and the
benchmarks make, inputs whose sound or picture stops early, a variable-frame-rate input
and its uncompressed AVI, and the recorded clips of /work/shared/corpus (real, minimal;
skipped when absent).

Each clip goes through presets 0, 3, 25 and 34 (and 37 for AVI and variable-rate
inputs; recorded clips longer than 20 s through 3 and 34 only) with transcoda-cli and
the real tools:
- a false failure is a conversion refused by the check (a length, a missing stream, an
  unreadable file) although the tools wrote it from a readable input; each one is
  printed with its reason;
- a false success is a written file whose streams, read from the start with ffprobe,
  do not last as long as the input's (first picture, first sound), or a wrong file made
  from a written one that the check passes: its sound or picture cut short by 2 s (by
  half when shorter than 3 s), its sound or picture left out (not the silence written
  for a picture without sound), the file cut at half its size.
Also prints what one read-back costs per file (the libraries loaded, the file cached).

    BUILD=build BENCH_SECONDS=10 python3 bench/helpers/length_check.py

The benchmarks' own clips last up to 60 s; BENCH_SECONDS (10 by default) shortens them.
"""

import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("BUILD", "build")
BUILD = BUILD if os.path.isabs(BUILD) else os.path.join(ROOT, BUILD)
CLI = os.path.join(BUILD, "bin", "transcoda-cli")
VERDICT = os.path.join(BUILD, "bin", "length_verdict")
SECONDS = int(os.environ.get("BENCH_SECONDS", "10"))
CORPUS = os.environ.get("CORPUS", "/work/shared/corpus")
FF = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y"]
EXTENSION = {0: "avi", 3: "mpeg", 25: "m4v", 34: "mp3", 37: "avi"}

sys.path.insert(0, os.path.join(ROOT, "bench", "presets"))
import media  # noqa: E402  (the presets benchmark's clips)

# The kinds of file the benchmark of the result check makes (bench_result_check.cpp).
RESULT_CHECK_CLIPS = {
    "hd.avi": "-s 1280x720 -c:v mpeg4 -b:v 4500k -c:a libmp3lame -b:a 192k",
    "mpeg.mpeg": "-s 640x480 -c:v mpeg1video -b:v 4200k -c:a mp2 -b:a 128k -f mpeg",
    "flash.flv": "-s 352x288 -c:v flv1 -b:v 920k -c:a libmp3lame -ar 22050 -b:a 64k",
    "windows.wmv": "-c:v wmv2 -b:v 800k -c:a wmav2 -b:a 96k",
    "device.mp4": "-s 640x480 -c:v libx264 -preset ultrafast -c:a aac -b:a 128k",
    "phone.3gp": "-s 176x144 -c:v h263 -r 15 -c:a aac -ar 32000 -ac 1",
    "dvd.vob": "-target pal-dvd",
    "song.mp3": "-vn -c:a libmp3lame -b:a 128k",
    "song.wav": "-vn -c:a pcm_s16le",
}


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


def tolerance(seconds):
    return 0.5 + 0.005 * max(0.0, seconds)


def lengths(path):
    """First picture and first sound stream lengths, read from the start by ffprobe
    (no seek): {"video": s, "audio": s}, a kind missing when there is none."""
    out = run(["ffprobe", "-v", "error", "-show_entries", "stream=index,codec_type:packet=stream_index,pts_time,"
               "dts_time,duration_time", "-of", "json", path]).stdout
    try:
        data = json.loads(out)
    except ValueError:
        return None
    first = {}
    for s in data.get("streams", []):
        kind = s.get("codec_type")
        if kind in ("video", "audio") and kind not in first:
            first[kind] = s["index"]
    spans = {}
    for p in data.get("packets", []):
        for kind, index in first.items():
            if p.get("stream_index") != index:
                continue
            t = p.get("pts_time", p.get("dts_time"))
            if t in (None, "N/A"):
                continue
            t = float(t)
            d = float(p.get("duration_time", 0) or 0) if p.get("duration_time") not in (None, "N/A") else 0.0
            lo, hi = spans.get(kind, (t, t + d))
            spans[kind] = (min(lo, t), max(hi, t + d))
    return {kind: hi - lo for kind, (lo, hi) in spans.items()}


def make(folder, name, sources, options):
    path = os.path.join(folder, name)
    if not os.path.exists(path):
        args = list(FF)
        for s in sources:
            args += ["-f", "lavfi", "-i", s]
        if len(sources) == 2:
            args += ["-map", "0:v", "-map", "1:a"]
        subprocess.run(args + options + [path], check=True)
    return path


def clips(work):
    """(path, is recorded) of every clip."""
    fixtures = os.path.join(work, "fixtures")
    subprocess.run(["bash", os.path.join(ROOT, "tests", "fixtures", "make_fixtures.sh"), fixtures], check=True)
    found = [(p, False) for p in sorted(glob.glob(os.path.join(fixtures, "clip*")))]
    bench = os.path.join(work, "bench")
    os.makedirs(bench, exist_ok=True)
    for name, (seconds, options) in media.CLIPS.items():
        s = min(seconds, SECONDS)
        found.append((make(bench, name, ["testsrc2=size=1280x720:rate=25:duration=%d" % s,
                                         "sine=frequency=440:sample_rate=48000:duration=%d" % s],
                           ["-ac", "2"] + options), False))
    for name, options in RESULT_CHECK_CLIPS.items():
        sources = ["testsrc2=size=640x360:rate=25:duration=%d" % SECONDS,
                   "sine=frequency=440:sample_rate=44100:duration=%d" % SECONDS]
        found.append((make(bench, name, sources, options.split()), False))
    # The shapes of the issue, at a lower scale: 12 s of picture with 4 s and 8 s of sound,
    # 4 s of picture with 12 s of sound.
    x264 = ["-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-c:a", "aac"]
    for picture, sound in ((12, 4), (12, 8), (4, 12)):
        found.append((make(bench, "uneven-%d-%d.mp4" % (picture, sound),
                           ["testsrc2=size=320x240:rate=25:duration=%d" % picture,
                            "sine=frequency=440:sample_rate=48000:duration=%d" % sound], x264), False))
    # A variable-frame-rate input (one frame of four kept) and its uncompressed AVI, whose
    # dropped-frame entries make the AVI reader's times late after a seek.
    vfr = make(bench, "vfr.mkv", ["testsrc2=size=160x120:rate=25:duration=12", "sine=duration=12"],
               ["-vf", "select='lt(mod(n,4),1)'", "-fps_mode", "vfr"] + x264)
    found.append((vfr, False))
    raw = os.path.join(bench, "vfr-raw.avi")
    if not os.path.exists(raw):
        subprocess.run(FF + ["-i", vfr, "-c:v", "rawvideo", "-pix_fmt", "yuv420p", "-c:a", "pcm_s16le", raw],
                       check=True)
    found.append((raw, False))
    for sub in ("real", "minimal"):
        for p in sorted(glob.glob(os.path.join(CORPUS, sub, "*"))):
            if not p.endswith(".md"):
                found.append((p, True))
    return found


def presets_for(path, recorded, have):
    if "video" not in have:
        return [34]
    ps = [0, 3, 25, 34]
    duration = max(have.values())
    if recorded and duration > 20:
        ps = [3, 34]
    if path.endswith(".avi") or "vfr" in os.path.basename(path):
        ps.append(37)
    return ps


def wrong_versions(out, have, source, folder):
    """(what, path, kind) of files made wrong from a written one that holds `have`, for an
    input that holds `source`. A stream the input lacks (the silence written for a
    picture without sound) may be left out; it may not be cut short."""
    ext = os.path.splitext(out)[1]
    made = []

    def remux(name, args):
        path = os.path.join(folder, name + ext)
        if run(FF + args + ["-c", "copy", path]).returncode == 0 and os.path.getsize(path) > 0:
            return path
        return None

    for kind, flag in (("audio", "a"), ("video", "v")):
        if kind not in have:
            continue
        full = have[kind]
        cut = full - 2 if full >= 3 else full / 2
        other = "v" if flag == "a" else "a"
        if len(have) == 2:
            args = ["-i", out, "-t", "%.3f" % cut, "-i", out, "-map", "0:%s:0" % other, "-map", "1:%s:0" % flag]
        else:
            args = ["-t", "%.3f" % cut, "-i", out, "-map", "0:%s:0" % flag]
        path = remux("cut-" + kind, args)
        if path:
            made.append(("%s cut short" % kind, path, kind))
        if len(have) == 2 and kind in source:
            path = remux("no-" + kind, ["-i", out, "-map", "0:%s:0" % other])
            if path:
                made.append(("%s left out" % kind, path, kind))
    half = os.path.join(folder, "half" + ext)
    with open(out, "rb") as src, open(half, "wb") as dst:
        dst.write(src.read(os.path.getsize(out) // 2))
    made.append(("file cut at half its size", half, None))
    return made


def really_wrong(path, reference, kind):
    """True when the file read from the start lacks a stream of the reference or has one
    shorter than the reference's by more than the tolerance."""
    got = lengths(path)
    if not got:
        return True
    for k, seconds in reference.items():
        if k not in got or seconds - got[k] > tolerance(seconds):
            return True
    return False


def main():
    for tool in (CLI, VERDICT):
        if not os.access(tool, os.X_OK):
            sys.exit("build transcoda-cli and length_verdict first (%s)" % tool)
    work = tempfile.mkdtemp(prefix="transcoda-lengths.")
    env = dict(os.environ, XDG_RUNTIME_DIR=os.path.join(work, "run"))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    conversions = false_failures = false_successes = wrong_made = refused_by_rule = tool_failures = 0
    costs = []
    try:
        for path, recorded in clips(work):
            have = lengths(path)
            if not have:
                print("unreadable, skipped: %s" % path)
                continue
            cost = run([VERDICT, "--cost", path]).stdout.split()
            if len(cost) > 4:
                costs.append((float(cost[4]), float(cost[1]), os.path.basename(path)))
            for preset in presets_for(path, recorded, have):
                folder = tempfile.mkdtemp(dir=work)
                out = os.path.join(folder, "out." + EXTENSION[preset])
                r = run([CLI, "--lang", "EN", "-f", str(preset), path, out], env=env)
                what = "%s preset %d" % (os.path.basename(path), preset)
                conversions += 1
                said = (r.stdout + r.stderr).replace("\r", "\n").splitlines()
                reason = " ".join(line for line in said if "failed" in line or "not supported" in line)
                if r.returncode != 0:
                    if "not supported" in reason or ("before it began" in reason and
                                                     ("holds only sound" in reason or "holds no sound" in reason)):
                        refused_by_rule += 1
                    elif "the file written" in reason:
                        false_failures += 1
                        print("FALSE FAILURE %s: %s" % (what, reason.strip()))
                    else:
                        tool_failures += 1
                        print("tool failure (not the check) %s: %s" % (what, reason.strip()))
                    shutil.rmtree(folder)
                    continue
                # The written file against its input, read from the start.
                expected = dict(have)
                if preset == 34:
                    expected.pop("video", None)
                if really_wrong(out, expected, None):
                    false_successes += 1
                    print("FALSE SUCCESS %s: written %s, input %s" % (what, lengths(out), have))
                for how, wrong, kind in wrong_versions(out, lengths(out), have, folder):
                    if not really_wrong(wrong, lengths(out), kind):
                        continue
                    wrong_made += 1
                    v = run([VERDICT, str(preset), path, wrong])
                    if v.returncode == 0:
                        false_successes += 1
                        print("FALSE SUCCESS %s, %s:\n%s" % (what, how, v.stdout.strip()))
                shutil.rmtree(folder)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("conversions: %d (refused by a rule, an extension not supported, sound only or no sound: %d; "
          "failed in a tool: %d)"
          % (conversions, refused_by_rule, tool_failures))
    print("wrong files made from written ones: %d" % wrong_made)
    print("false failures: %d" % false_failures)
    print("false successes: %d" % false_successes)
    costs.sort()
    if costs:
        opens = sorted(c[1] for c in costs)
        print("scan for the streams' ends, one input: median %.2f ms, slowest %.2f ms (%s), over %d files; "
              "the opening before it (with the search for the streams): median %.2f ms"
              % (costs[len(costs) // 2][0], costs[-1][0], costs[-1][2], len(costs), opens[len(opens) // 2]))


if __name__ == "__main__":
    main()
