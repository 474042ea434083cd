#!/usr/bin/python3
"""Makes every sound of the game under media/audio/ from the sources in tools/gen/audio/.

  music   tools/gen/audio/tunes.py, composed by tools/gen/audio/compose.py into MIDI,
          played by fluidsynth with the FluidR3 General MIDI soundfont
  effects tools/gen/audio/effects.py: sox synthesis and layering, and a few MIDI jingles
  voice   tools/gen/audio/voice.py: espeak-ng, shaped with sox

Every file is levelled with ffmpeg's EBU R128 meter (music -20 LUFS, effects and
voice -16 LUFS, true peak at most -1 dBFS) and encoded with oggenc under a fixed
stream serial, so a second run gives byte-identical files.

Usage (Debian packages python3-mido, fluidsynth, fluid-soundfont-gm, sox,
vorbis-tools, espeak-ng, ffmpeg):
    /usr/bin/python3 tools/gen/gen_audio.py [--report]
"""

import os
import re
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "audio"))

import mido  # noqa: E402

import compose  # noqa: E402
import effects  # noqa: E402
import tunes  # noqa: E402
import voice  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
AUDIO = os.path.join(ROOT, "media", "audio")
SOUNDFONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
RATE = 44100
MUSIC_LUFS = -20.0
EFFECT_LUFS = -16.0
PEAK_CEILING = -1.5   # dBFS before encoding; the encoder may add a few tenths
SHORT = 0.4           # clips shorter than this have no integrated loudness: levelled by peak
SHORT_PEAK = -3.0


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, capture_output=True, text=True, **kw)


def measure(path):
    """Integrated loudness (LUFS), true peak (dBFS) and length (s) of a sound file."""
    out = subprocess.run(["ffmpeg", "-hide_banner", "-nostats", "-i", path, "-filter_complex",
                          "ebur128=peak=true", "-f", "null", "-"], capture_output=True, text=True).stderr
    summary = out[out.rfind("Summary:"):]
    lufs = float(re.search(r"I:\s+(-?[\d.]+|-inf) LUFS", summary).group(1).replace("-inf", "-70"))
    peak = float(re.search(r"True peak:\s+Peak:\s+(-?[\d.]+|-inf)", summary).group(1).replace("-inf", "-99"))
    secs = float(run(["soxi", "-D", path]).stdout) if path.endswith(".wav") else None
    if secs is None:
        m = re.search(r"Duration: (\d+):(\d+):([\d.]+)", out)
        secs = int(m.group(1)) * 3600 + int(m.group(2)) * 60 + float(m.group(3))
    return lufs, peak, secs


def level_and_encode(wav, target, name, tmp):
    """Brings wav to the target loudness under the peak ceiling and writes media/audio/<name>.ogg."""
    lufs, peak, secs = measure(wav)
    if secs < SHORT or lufs <= -69:
        gain = SHORT_PEAK - peak
    else:
        gain = min(target - lufs, PEAK_CEILING - peak)
    levelled = os.path.join(tmp, "levelled.wav")
    run(["sox", wav, "-b", "16", levelled, "gain", "%.2f" % gain, "dither", "-s", "-R"] if False else
        ["sox", "-R", wav, "-b", "16", levelled, "gain", "%.2f" % gain])
    out = os.path.join(AUDIO, name + ".ogg")
    os.makedirs(os.path.dirname(out), exist_ok=True)
    serial = zlib.crc32(name.encode()) & 0x7FFFFFFF
    run(["oggenc", "--quiet", "-q", "4", "--serial", str(serial), "-o", out, levelled])
    return out


def render_midi(mid, wav, tmp, tail=0.0):
    path = os.path.join(tmp, "tune.mid")
    mid.save(path)
    raw = os.path.join(tmp, "raw.wav")
    run(["fluidsynth", "-ni", "-q", "-g", "0.5", "-r", str(RATE), "-F", raw, SOUNDFONT, path])
    return raw


def make_music(t, tmp):
    mid = compose.compose(t)
    raw = render_midi(mid, None, tmp)
    stereo = os.path.join(tmp, "stereo.wav")
    run(["sox", "-R", raw, "-e", "floating-point", "-b", "32", stereo, "rate", str(RATE), "channels", "2"])
    wav = os.path.join(tmp, "music.wav")
    if t.end_hit is None:
        # A tune the game loops: it is cut at the end of its last bar and what rings
        # on past that point (the last chord's release and the reverb) is laid over
        # its first bars, so played end to start it runs on without a gap or a jump.
        loop = int(round(mid.loop_seconds * RATE))
        head = os.path.join(tmp, "head.wav")
        tail = os.path.join(tmp, "tail.wav")
        run(["sox", "-R", stereo, head, "trim", "0", "%ds" % loop])
        run(["sox", "-R", stereo, tail, "trim", "%ds" % loop])
        run(["sox", "-R", "-m", "-v", "1", head, "-v", "1", tail, "-e", "floating-point", "-b", "32", wav,
             "trim", "0", "%ds" % loop])
    else:
        # A piece with an ending: it stops once its last chord has rung out.
        rung = os.path.join(tmp, "rung.wav")
        run(["sox", "-R", stereo, rung, "reverse", "silence", "1", "0.01", "-60d", "reverse"])
        run(["sox", "-R", rung, wav, "fade", "t", "0", "-0", "0.3"])
    return level_and_encode(wav, MUSIC_LUFS, t.name, tmp)


def make_effect(name, seconds, layers, tmp):
    parts = []
    for i, layer in enumerate(layers):
        part = os.path.join(tmp, "layer%d.wav" % i)
        run(["sox", "-R", "-n", "-r", str(RATE), "-c", "2", "-b", "16", part] + layer)
        parts.append(part)
    wav = os.path.join(tmp, "effect.wav")
    if len(parts) == 1:
        run(["sox", "-R", parts[0], wav, "trim", "0", "%.3f" % seconds])
    else:
        run(["sox", "-R", "-m"] + parts + [wav, "trim", "0", "%.3f" % seconds])
    return level_and_encode(wav, EFFECT_LUFS, name, tmp)


def make_jingle(name, bpm, program, notes, tmp):
    mid = mido.MidiFile(ticks_per_beat=480)
    tr = mido.MidiTrack()
    mid.tracks.append(tr)
    tr.append(mido.MetaMessage("set_tempo", tempo=mido.bpm2tempo(bpm), time=0))
    tr.append(mido.Message("program_change", channel=0, program=program, time=0))
    ev = []
    for beat, beats, note, vel in notes:
        ev.append((int(beat * 480), mido.Message("note_on", note=note, velocity=vel)))
        ev.append((int((beat + beats) * 480), mido.Message("note_off", note=note, velocity=0)))
    now = 0
    for tick, msg in sorted(ev, key=lambda e: (e[0], e[1].type == "note_on")):
        tr.append(msg.copy(time=tick - now))
        now = tick
    tr.append(mido.MetaMessage("end_of_track", time=480))
    raw = render_midi(mid, None, tmp)
    wav = os.path.join(tmp, "jingle.wav")
    trimmed = os.path.join(tmp, "trimmed.wav")
    run(["sox", "-R", raw, trimmed, "channels", "2", "silence", "1", "0.001", "0.1%", "reverse", "silence", "1",
         "0.01", "0.05%", "reverse"])
    run(["sox", "-R", trimmed, wav, "fade", "t", "0.005", "-0", "0.15"])
    return level_and_encode(wav, EFFECT_LUFS, name, tmp)


def make_line(name, text, tmp):
    raw = os.path.join(tmp, "speech.wav")
    run(["espeak-ng", "-v", voice.VOICE, "-s", str(voice.SPEED), "-p", str(voice.PITCH), "-w", raw, text])
    wav = os.path.join(tmp, "line.wav")
    shaped = os.path.join(tmp, "shaped.wav")
    run(["sox", "-R", raw, "-r", str(RATE), "-c", "2", shaped] + voice.SHAPE +
        ["silence", "1", "0.01", "0.2%", "reverse", "silence", "1", "0.01", "0.2%", "reverse"])
    run(["sox", "-R", shaped, wav, "fade", "t", "0.01", "-0", "0.08", "pad", "0.02", "0.05"])
    return level_and_encode(wav, EFFECT_LUFS, os.path.join("speak", name), tmp)


def main(argv):
    report = "--report" in argv
    made = []
    with tempfile.TemporaryDirectory() as tmp:
        for t in tunes.TUNES:
            print("music   %s" % t.name, flush=True)
            made.append(make_music(t, tmp))
        for name, (seconds, layers) in sorted(effects.EFFECTS.items()):
            made.append(make_effect(name, seconds, layers, tmp))
        for name, bpm, program, notes in effects.JINGLES:
            made.append(make_jingle(name, bpm, program, notes, tmp))
        print("effects %d" % (len(effects.EFFECTS) + len(effects.JINGLES)), flush=True)
        for name, text in voice.POSITIVE + voice.NEGATIVE:
            made.append(make_line(name, text, tmp))
        print("voice   %d" % (len(voice.POSITIVE) + len(voice.NEGATIVE)), flush=True)
    if report:
        print("| File | Loudness (LUFS) | True peak (dBFS) | Length (s) |")
        print("|---|---|---|---|")
        for path in made:
            lufs, peak, secs = measure(path)
            print("| %s | %.1f | %.1f | %.2f |" % (os.path.relpath(path, AUDIO), lufs, peak, secs))


if __name__ == "__main__":
    main(sys.argv)
