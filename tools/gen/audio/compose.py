"""A small composer for the game's tunes.

A tune is described by its mood (tempo, mode, instruments, drum style, form);
the composer turns that into a MIDI file: a lead melody built from motifs that
return and vary (A A' B A''), a counter-melody, a held pad, a drone bass and
hand drums. Every choice is drawn from a random generator seeded by the tune's
own seed, so the same description always gives the same notes.
"""

import random

import mido

TICKS = 480  # per beat

# Modes of the desert: semitone steps from the tonic.
MODES = {
    "hijaz": [0, 1, 4, 5, 7, 8, 10],        # Phrygian dominant: the classic desert sound
    "phrygian": [0, 1, 3, 5, 7, 8, 10],
    "dorian": [0, 2, 3, 5, 7, 9, 10],
    "aeolian": [0, 2, 3, 5, 7, 8, 10],
    "mixolydian": [0, 2, 4, 5, 7, 9, 10],
    "major": [0, 2, 4, 5, 7, 9, 11],
    "harmonic": [0, 2, 3, 5, 7, 8, 11],
}

# Rhythm cells for one bar of 4 beats (durations in beats).
CELLS = [
    [1, 0.5, 0.5, 1, 1],
    [0.5, 0.5, 0.5, 0.5, 2],
    [1.5, 0.5, 1, 1],
    [0.5, 0.25, 0.25, 1, 0.5, 0.5, 1],
    [2, 1, 1],
    [0.75, 0.25, 0.5, 0.5, 2],
    [1, 1, 0.5, 0.5, 1],
]

# Chord roots as scale degrees for an 8-bar phrase, by section.
PROGRESSIONS = {
    "A": [0, 0, 1, 0, 6, 6, 1, 0],
    "B": [3, 3, 4, 4, 1, 1, 6, 0],
    "C": [5, 5, 3, 3, 1, 6, 1, 0],
}

# Hand-drum patterns over 8 eighth notes: (eighth, GM drum note, velocity).
DUM, TEK, KA, TAMB, SHAKER = 64, 63, 62, 54, 70   # low conga, open hi conga, muted conga, tambourine, maracas
DRUMS = {
    "maqsum": [(0, DUM, 96), (1, TEK, 70), (3, TEK, 72), (4, DUM, 90), (6, TEK, 74), (7, KA, 50)],
    "baladi": [(0, DUM, 100), (1, DUM, 84), (3, TEK, 70), (4, DUM, 92), (6, TEK, 72), (7, KA, 55)],
    "saidi": [(0, DUM, 96), (1, TEK, 66), (3, DUM, 88), (4, DUM, 90), (6, TEK, 70)],
    "walk": [(0, DUM, 80), (2, TEK, 60), (4, DUM, 76), (6, TEK, 60), (7, KA, 40)],
    "sparse": [(0, DUM, 70), (5, KA, 40)],
    "march": [(0, DUM, 100), (2, TEK, 80), (3, TEK, 60), (4, DUM, 96), (6, TEK, 80), (7, TEK, 62)],
    "none": [],
}


class Tune:
    def __init__(self, name, seed, bpm, mode, root, seconds, lead, counter, pad, bass,
                 drums="maqsum", form="AABA", shaker=False, swing=0.0, lead_octave=0,
                 end_hit=None, intro_bars=1):
        self.__dict__.update(locals())
        del self.__dict__["self"]


def _note(root, mode, degree, octave=0):
    steps = MODES[mode]
    o, d = divmod(degree, len(steps))
    return root + 12 * (o + octave) + steps[d]


def _motif(rng, mode_len):
    """One bar of melody: rhythm cell and a walk of scale degrees."""
    cell = rng.choice(CELLS)
    degs, d = [], rng.choice([0, 2, 4, 4, 7])
    for _ in cell:
        d += rng.choice([-2, -1, -1, 0, 1, 1, 2, 3, -3])
        d = max(-2, min(9, d))
        degs.append(d)
    return list(zip(cell, degs))


def _vary(rng, motif):
    out = []
    for dur, deg in motif:
        if rng.random() < 0.35:
            deg += rng.choice([-1, 1, 2])
        out.append((dur, deg))
    return out


def compose(t):
    """Returns a mido.MidiFile for tune t."""
    rng = random.Random(t.seed)
    bar_seconds = 4 * 60.0 / t.bpm
    bars_needed = int(t.seconds / bar_seconds + 0.999) + 1
    phrases = max(1, (bars_needed - t.intro_bars + 7) // 8)

    # Motifs per section letter: each section has 4 motifs used in 8 bars.
    sections = {}
    for letter in "ABC":
        base = [_motif(rng, 7) for _ in range(4)]
        sections[letter] = base

    form = []
    while len(form) < phrases:
        form.extend(list(t.form))
    form = form[:phrases]

    mid = mido.MidiFile(ticks_per_beat=TICKS)
    tempo = mido.bpm2tempo(t.bpm)
    events = {ch: [] for ch in (0, 1, 2, 3, 9)}  # (tick, msg)

    def add(ch, start_beats, dur_beats, note, vel):
        on = int(round(start_beats * TICKS))
        off = int(round((start_beats + dur_beats) * TICKS)) - 8
        events[ch].append((on, mido.Message("note_on", channel=ch, note=note, velocity=vel)))
        events[ch].append((max(on + 1, off), mido.Message("note_off", channel=ch, note=note, velocity=0)))

    beat = 0.0
    # An intro bar: pad and drone alone, so the loop restarts gently.
    for _ in range(t.intro_bars):
        add(2, beat, 4, _note(t.root, t.mode, 0, 0), 60)
        add(2, beat, 4, _note(t.root, t.mode, 4, 0), 50)
        add(3, beat, 4, _note(t.root, t.mode, 0, -1), 72)
        beat += 4

    for pi, letter in enumerate(form):
        prog = PROGRESSIONS[letter if letter in PROGRESSIONS else "A"]
        motifs = sections[letter]
        repeat = form[:pi].count(letter)
        last_phrase = pi == len(form) - 1
        for b in range(8):
            chord = prog[b]
            final_bar = last_phrase and b == 7
            # Pad: chord root, third and fifth of the mode.
            for k, v in ((0, 54), (2, 46), (4, 46)):
                add(2, beat, 4, _note(t.root, t.mode, chord + k, 0), v)
            # Bass: drone root on 1, fifth or root on 3.
            add(3, beat, 2, _note(t.root, t.mode, chord, -1), 84)
            add(3, beat + 2, 2, _note(t.root, t.mode, chord + (4 if b % 2 else 0), -1), 70)
            # Lead: the motif of this bar (motifs 0..3 twice, varied on repeats).
            m = motifs[b % 4]
            if repeat or b >= 4:
                m = _vary(rng, m)
            if final_bar:
                m = [(1, 2), (1, 1), (2, 0)]
            pos = beat
            for dur, deg in m:
                # Land on a chord tone at the start of each bar.
                if pos == beat and not final_bar:
                    deg = chord + rng.choice([0, 2, 4])
                swing = t.swing if (pos * 2) % 2 == 1 else 0.0
                add(0, pos + swing * 0.5, dur, _note(t.root, t.mode, deg, 1 + t.lead_octave),
                    rng.randint(84, 104))
                pos += dur
            # Counter-melody: long notes a third or sixth below, on the B sections and repeats.
            if letter != "A" or repeat:
                add(1, beat, 2, _note(t.root, t.mode, chord + 4, 0), 58)
                add(1, beat + 2, 2, _note(t.root, t.mode, chord + rng.choice([2, 5]), 0), 54)
            # Drums.
            if not final_bar:
                for half in (0, 2):
                    for eighth, note, vel in DRUMS[t.drums]:
                        add(9, beat + half + eighth * 0.25, 0.25, note, vel)
                if t.shaker:
                    for e in range(8):
                        add(9, beat + e * 0.5, 0.25, SHAKER, 36 + (12 if e % 2 == 0 else 0))
            elif t.end_hit:
                add(9, beat, 1, t.end_hit, 90)
            beat += 4

    # Silence at the end so the reverb rings out inside the file; the loop point is
    # the end of the last bar, and what rings past it is laid over the start.
    end_tick = int((beat + 2) * TICKS)
    mid.loop_seconds = beat * tempo / 1e6

    track0 = mido.MidiTrack()
    track0.append(mido.MetaMessage("set_tempo", tempo=tempo, time=0))
    mid.tracks.append(track0)
    programs = {0: t.lead, 1: t.counter, 2: t.pad, 3: t.bass}
    for ch in (0, 1, 2, 3, 9):
        tr = mido.MidiTrack()
        if ch != 9:
            tr.append(mido.Message("program_change", channel=ch, program=programs[ch], time=0))
        vol = {0: 100, 1: 70, 2: 62, 3: 88, 9: 84}[ch]
        tr.append(mido.Message("control_change", channel=ch, control=7, value=vol, time=0))
        tr.append(mido.Message("control_change", channel=ch, control=91, value=50, time=0))
        if ch != 9:
            tr.append(mido.Message("control_change", channel=ch, control=10,
                                   value={0: 64, 1: 40, 2: 88, 3: 64}[ch], time=0))
        now = 0
        for tick, msg in sorted(events[ch], key=lambda e: (e[0], e[1].type == "note_on")):
            tr.append(msg.copy(time=tick - now))
            now = tick
        tr.append(mido.MetaMessage("end_of_track", time=max(0, end_tick - now)))
        mid.tracks.append(tr)
    return mid
