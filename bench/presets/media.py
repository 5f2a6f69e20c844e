"""The inputs of the benchmark, made once with ffmpeg's lavfi sources and kept between
runs, and what ffprobe and ffmpeg's SSIM filter say about the outputs."""

import os
import re
import subprocess

FF = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y"]

X264 = ["-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-g", "50"]

# name: (seconds, output options). Every clip is 1280x720 at 25 frames a second with a
# 440 Hz tone as its sound; the camcorder clip is H.264 and AC-3 in MPEG-TS, as
# camcorders write them, the Windows Media and Flash clips feed the presets' variants.
CLIPS = {
    "clip3.mp4": (3, X264 + ["-c:a", "aac", "-b:a", "128k"]),
    "clip60.mp4": (60, X264 + ["-c:a", "aac", "-b:a", "128k"]),
    "clip60.mts": (60, X264 + ["-c:a", "ac3", "-b:a", "192k", "-f", "mpegts"]),
    "clip60.wmv": (60, ["-c:v", "wmv2", "-b:v", "4000k", "-c:a", "wmav2", "-b:a", "128k", "-f", "asf"]),
    "clip60.flv": (60, ["-c:v", "flv1", "-b:v", "4000k", "-c:a", "libmp3lame", "-b:a", "128k", "-ar", "44100",
                        "-f", "flv"]),
}


def make_clips(folder):
    os.makedirs(folder, exist_ok=True)
    paths = {}
    for name, (seconds, options) in CLIPS.items():
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            part = os.path.join(folder, ".part." + name)
            subprocess.run(FF + ["-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25:duration=%d" % seconds,
                                 "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=%d" % seconds,
                                 "-map", "0:v", "-map", "1:a", "-ac", "2"] + options + [part], check=True)
            os.rename(part, path)
        paths[name] = path
    return paths


def describe(path):
    """The fields that make two outputs equivalent: codecs, picture size and rate, sound
    rate and channels, and the container."""
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries",
                          "format=format_name:stream=codec_type,codec_name,width,height,r_frame_rate,"
                          "sample_rate,channels", "-of", "default=nw=1", path],
                         capture_output=True, text=True).stdout
    fields, kind = {}, ""
    for line in out.splitlines():
        key, _, value = line.partition("=")
        if key == "codec_type":
            kind = value
        elif key == "format_name":
            fields["container"] = value
        elif kind and value not in ("", "N/A", "0", "0/0") and (kind + " " + key) not in fields:
            fields[kind + " " + key] = value
    return fields


def differences(a, b):
    """What differs between two outputs, as a short text; "same" when nothing does."""
    da, db = describe(a), describe(b)
    if not da or not db:
        return "unreadable output"
    diff = ["%s %s/%s" % (k, da.get(k, "-"), db.get(k, "-")) for k in sorted(set(da) | set(db))
            if da.get(k) != db.get(k)]
    return "same" if not diff else "differs: " + ", ".join(diff)


def ssim_at(output, source, width, height, rate, offset, shape=None):
    """SSIM of the output's frames from `offset` (or the source's from -offset) against
    the source's, frame by frame in order, the source at the output's size and rate (its
    picture fitted into the frame by the filters `shape` when given)."""
    out, ref = (offset, 0) if offset >= 0 else (0, -offset)
    fit = shape if shape else "scale=%s:%s:flags=bicubic" % (width, height)
    graph = ("[0:v]trim=start_frame=%d,setpts=N/(%s*TB)[a];"
             "[1:v]fps=%s,trim=start_frame=%d,%s,setpts=N/(%s*TB)[b];"
             "[a][b]ssim=shortest=1" % (out, rate, rate, ref, fit, rate))
    done = subprocess.run(["ffmpeg", "-hide_banner", "-nostdin", "-i", output, "-i", source, "-lavfi", graph,
                           "-f", "null", "-"], capture_output=True, text=True)
    found = re.findall(r"All:([0-9.]+)", done.stderr)
    return float(found[-1]) if found else None


def ssim(output, source, shape=None):
    """SSIM of an output's picture against the source brought to the output's size and
    frame rate (fitted into the output's frame by the filters `shape`, those that the
    single pass at the same settings applies, when given: a picture kept at its shape
    between black bars is compared with the source between the same bars), at the best
    alignment within two frames: a chain of steps may start its picture a frame or two
    apart from a single pass (timestamps restarted at zero by an intermediate, a
    different first frame kept by a change of rate), which says nothing of the picture
    itself. None when it cannot be measured."""
    d = describe(output)
    try:
        width, height, rate = d["video width"], d["video height"], d["video r_frame_rate"]
    except KeyError:
        return None
    found = [v for v in (ssim_at(output, source, width, height, rate, k, shape) for k in (-2, -1, 0, 1, 2))
             if v is not None]
    return max(found) if found else None
