"""What each conversion is measured against: the best single ffmpeg command that writes
an equivalent file (same codecs, size, rates and bitrates), or, where a tool is
measured, the engine commands it runs."""

import os
import shlex
import subprocess

FF = ["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"]

# The file each preset writes; the DVD presets write a folder.
EXTENSIONS = {0: "avi", 1: "avi", 2: "mpeg", 3: "mpeg", 4: "mpeg", 5: "mpeg", 6: "flv", 7: "flv", 8: "flv",
              9: "flv", 10: "flv", 11: "flv", 12: "wmv", 13: "3gp", 14: "3gp", 15: "3gp", 16: "3gp", 17: "3gp",
              18: "mov", 19: "mov", 20: "mov", 21: "mov", 22: "mov", 23: "mov", 24: "m4v", 25: "m4v", 26: "m4v",
              27: "mp4", 28: "mp4", 29: "mp4", 30: "m4v", 31: "mp4", 32: "", 33: "", 34: "mp3", 35: "mp3",
              36: "wav", 37: "avi"}
DVD = (32, 33)
# Recipes of more than one step on any input, and on a camcorder input.
CHAINED = (0, 1, 32, 33)
CAMCORDER_CHAINED = (7, 9, 12, 18, 19, 24, 25, 26, 27, 28, 29, 31)
CAMCORDER_PRESETS = CAMCORDER_CHAINED + (39,)
# The camcorder presets that go through a small intermediate before their final encode.
DOWNSCALED = (18, 19, 24, 25, 26, 27, 28, 29, 31)
# What the tools' engine reads their AMR sound from.
AMR_INPUT = "/proc/self/fd/3"


def output_name(preset, clip, stem):
    """The output of `preset` for `clip`: a file, or a folder ending in "/"."""
    extension = EXTENSIONS.get(preset)
    if preset in DVD:
        return stem + "/"
    if preset == 38:
        extension = clip.rsplit(".", 1)[1]
    if preset == 39:
        extension = "mpeg" if clip.endswith(".mts") else clip.rsplit(".", 1)[1]
    return stem + "." + extension


def segment(clip_seconds):
    """The --from/--to of the extraction preset and the lag of the sync preset."""
    return ("00:00:01", "00:00:02") if clip_seconds < 10 else ("00:00:10", "00:00:40")


def special_options(preset, clip_seconds):
    if preset == 38:
        return ["--delay", "1.25"]
    if preset == 39:
        start, end = segment(clip_seconds)
        return ["--from", start, "--to", end]
    return []


def hd_avi(preset, clip, output):
    """The HD AVI presets in one pass: MPEG-4 (XviD tag) at the preset's size and 25
    frames a second, MP3 sound at 44.1 kHz."""
    size, video, sound = ("1280x720", "4500k", "192k") if preset == 0 else ("1920x1080", "4200k", "256k")
    return [FF + ["-i", clip, "-c:v", "mpeg4", "-b:v", video, "-tag:v", "XVID", "-s", size, "-r", "25",
                  "-c:a", "libmp3lame", "-ar", "44100", "-ac", "2", "-b:a", sound, "-f", "avi", output]]


def dvd(preset, clip, folder):
    """A DVD folder with the least there is: the DVD stream, then dvdauthor's title and
    table of contents (ffmpeg alone writes no DVD folder)."""
    disc = os.path.join(folder, "DVD-Disc1")
    stream = os.path.join(disc, "tmpvdv.mpg")
    target, standard = ("ntsc-dvd", "NTSC") if preset == 32 else ("pal-dvd", "PAL")
    author = ["env", "VIDEO_FORMAT=" + standard, "dvdauthor", "-o", disc]
    return [["mkdir", "-p", disc],
            FF + ["-i", clip, "-target", target, "-aspect", "4:3", stream],
            author + ["-t", "-f", stream],
            author + ["-T"]]


def direct_encode(final_tool_line, clip, output):
    """A chained recipe's final step planned and run on the source itself: the single
    pass at the final settings, its picture fitted into the output's frame from the
    source's own shape, as the step's tool fits it (the tool shows the engine command it
    would run). The camcorder re-encoding recipes' intermediate carries its sound at
    44.1 kHz, which their final encode keeps without saying so."""
    line = list(final_tool_line)
    line[line.index("-i") + 1] = clip
    line[-1] = output
    shown = subprocess.run(line, env=dict(os.environ, TRANSCODA_SHOW_ENGINE="1"), capture_output=True, text=True,
                           check=True).stdout
    argv = shlex.split(shown.split("engine:", 1)[1])
    if "-ar" not in argv:
        argv[-1:-1] = ["-ar", "44100"]
    return [argv]


def picture_filter(command):
    """The picture filters of an engine command (its -vf), None when it has none."""
    return command[command.index("-vf") + 1] if "-vf" in command else None


def written_by(tool_line):
    """The file a tool run writes: the hidden name beside the output."""
    for arg in tool_line[1:]:
        name = os.path.basename(arg.rstrip("/"))
        if name.startswith(".") and ".transcoda-" in name:
            return arg
    return None


def engine_commands(work_runs, written, output, amr_file=None):
    """The engine commands a tool ran, writing `output` instead of `written`; the AMR
    sound, which the tool encodes itself and hands over on a descriptor, comes from a
    file made beforehand (ffmpeg has no AMR-NB encoder)."""
    commands = []
    for run in work_runs:
        argv = [output if a == written else a for a in run]
        if amr_file:
            argv = [amr_file if a == AMR_INPUT else a for a in argv]
        commands.append(argv)
    return commands


def uses_amr(work_runs):
    return any(AMR_INPUT in run for run in work_runs)
