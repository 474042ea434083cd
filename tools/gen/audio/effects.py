"""The game's sound effects, each a short sox recipe (synthesis, layering,
envelopes), or a few notes of MIDI for the musical ones.

Every recipe is a list of sox argument lists; each makes one layer of the same
length rate and channels, and the layers are mixed. "synth" layers come from
sox's generators, so no recording is involved.
"""

RATE = 44100

# name: (seconds, [layers]); each layer is the sox effect chain after "-n".
EFFECTS = {
    # Landings: each treasure sounds like what it is made of.
    "coin": (0.45, [["synth", "0.45", "sine", "2637", "sine", "3951", "fade", "q", "0.002", "0.45", "0.4",
                     "vol", "0.5"],
                    ["synth", "0.45", "sine", "5274", "fade", "q", "0.001", "0.2", "0.19", "vol", "0.2"]]),
    "ring": (0.6, [["synth", "0.6", "sine", "1760", "sine", "2217", "fade", "q", "0.002", "0.6", "0.58",
                    "tremolo", "9", "30", "vol", "0.5"]]),
    "cup": (0.55, [["synth", "0.55", "sine", "1047", "sine", "1661", "sine", "2489", "fade", "q", "0.002",
                    "0.55", "0.5", "vol", "0.5"]]),
    "helm": (0.4, [["synth", "0.4", "square", "196", "square", "277", "lowpass", "1800", "fade", "q",
                    "0.001", "0.4", "0.37", "vol", "0.35"],
                   ["synth", "0.08", "brownnoise", "fade", "q", "0.001", "0.08", "0.07", "pad", "0", "0.32",
                    "vol", "0.6"]]),
    "misc_el": (0.3, [["synth", "0.3", "sine", "110", "sine", "165", "fade", "q", "0.002", "0.3", "0.27",
                       "vol", "0.7"],
                      ["synth", "0.06", "pinknoise", "lowpass", "900", "fade", "q", "0.001", "0.06", "0.05",
                       "pad", "0", "0.24", "vol", "0.6"]]),
    # A match: two treasures meet and vanish in a sparkle.
    "connect": (0.7, [["synth", "0.7", "sine", "1319", "fade", "q", "0.005", "0.7", "0.6", "vol", "0.3"],
                      ["synth", "0.6", "sine", "1760", "fade", "q", "0.005", "0.6", "0.5", "pad", "0.07",
                       "0.03", "vol", "0.3"],
                      ["synth", "0.5", "sine", "2637", "fade", "q", "0.005", "0.5", "0.45", "pad", "0.14",
                       "0.06", "vol", "0.3"],
                      ["synth", "0.7", "whitenoise", "highpass", "6000", "fade", "q", "0.01", "0.7", "0.6",
                       "vol", "0.08"]]),
    # A treasure pushed one cell over the sand.
    "slide": (0.18, [["synth", "0.18", "pinknoise", "bandpass", "1400", "1.2q", "fade", "q", "0.03", "0.18",
                      "0.12", "vol", "0.8"]]),
    # Stuck in the mud: a low squelch.
    "blato": (0.5, [["synth", "0.5", "sine", "180-60", "tremolo", "22", "60", "fade", "q", "0.01", "0.5",
                     "0.3", "vol", "0.8"],
                    ["synth", "0.5", "brownnoise", "lowpass", "500", "fade", "q", "0.02", "0.5", "0.4",
                     "vol", "0.5"]]),
    # The portal takes a treasure: a rising shimmer.
    "telep": (0.9, [["synth", "0.9", "sine", "300-1800", "tremolo", "14", "70", "fade", "q", "0.05", "0.9",
                     "0.4", "vol", "0.5"],
                    ["synth", "0.9", "sine", "450-2700", "fade", "q", "0.05", "0.9", "0.4", "vol", "0.25"]]),
    # The magnet's plate is pressed, released.
    "magnet_btn": (0.35, [["synth", "0.35", "square", "220", "sine", "440", "lowpass", "2000", "fade", "q",
                           "0.002", "0.35", "0.3", "vol", "0.4"]]),
    "magnet_off": (0.45, [["synth", "0.45", "sine", "440-110", "fade", "q", "0.005", "0.45", "0.3",
                           "vol", "0.6"]]),
    # The magnet working and the treasure hanging under it are asked for on every
    # 20 ms frame, so each is one frame long with soft edges: back to back they
    # make one steady hum instead of a pile of restarts.
    "magnet_action": (0.02, [["synth", "0.02", "sine", "330", "sine", "495", "fade", "h", "0.005", "0.02",
                              "0.005", "vol", "0.5"]]),
    "magnet_on": (0.02, [["synth", "0.02", "sine", "660", "fade", "h", "0.005", "0.02", "0.005",
                          "vol", "0.4"]]),
    # Spikes strike: a metallic swish and a crunch.
    "spike": (0.6, [["synth", "0.25", "whitenoise", "highpass", "3000", "fade", "q", "0.005", "0.25", "0.2",
                     "vol", "0.5"],
                    ["synth", "0.6", "sine", "1200-300", "fade", "q", "0.002", "0.6", "0.55", "vol", "0.4"]]),
    "stone": (0.6, [["synth", "0.6", "brownnoise", "lowpass", "300", "tremolo", "18", "50", "fade", "q",
                     "0.02", "0.6", "0.4", "vol", "0.9"]]),
    # A dialog button: a wooden tap.
    "dialog_btn": (0.12, [["synth", "0.12", "sine", "880", "sine", "1320", "fade", "q", "0.001", "0.12",
                           "0.11", "vol", "0.5"],
                          ["synth", "0.02", "pinknoise", "bandpass", "2500", "2q", "fade", "q", "0.001",
                           "0.02", "0.015", "pad", "0", "0.1", "vol", "0.5"]]),
    # Hovering a menu tablet: stone sliding on stone.
    "tomb": (0.5, [["synth", "0.5", "brownnoise", "bandpass", "350", "0.8q", "tremolo", "30", "40", "fade",
                    "q", "0.05", "0.5", "0.2", "vol", "0.9"]]),
    # The gong before a chapter: inharmonic partials with a long ring.
    "gong": (4.0, [["synth", "4.0", "sine", "98", "sine", "147.5", "sine", "213", "sine", "266", "sine", "351",
                    "fade", "q", "0.005", "4.0", "3.8", "tremolo", "3", "25", "vol", "0.5"],
                   ["synth", "0.15", "pinknoise", "lowpass", "1200", "fade", "q", "0.001", "0.15", "0.14",
                    "pad", "0", "3.85", "vol", "0.5"]]),
}

# The musical effects: (name, bpm, program, [(beat, beats, note, velocity)]).
JINGLES = [
    # A level finished: a bright little fanfare.
    ("finished", 132, 56, [(0, 0.5, 67, 100), (0.5, 0.5, 72, 100), (1, 0.5, 76, 104), (1.5, 2.5, 79, 110),
                           (1.5, 2.5, 72, 80), (1.5, 2.5, 76, 80)]),
    # A level lost: the trombone's sad wah-wah.
    ("retry", 96, 57, [(0, 1, 60, 96), (1, 1, 59, 92), (2, 1, 58, 90), (3, 2.5, 57, 96)]),
    # The camel grumbles.
    ("camel", 120, 64, [(0, 0.6, 43, 110), (0.7, 1.2, 40, 110)]),
]
