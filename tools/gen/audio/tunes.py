"""The game's music, one line of description per tune.

GM programs: 104 sitar, 105 banjo, 106 shamisen, 107 koto, 24 nylon guitar,
25 steel guitar, 46 harp, 48 strings, 49 slow strings, 52 choir, 56 trumpet,
57 trombone, 60 french horn, 61 brass, 68 oboe, 71 clarinet, 72 piccolo,
73 flute, 75 pan flute, 77 shakuhachi, 89 warm pad, 32 acoustic bass,
33 finger bass, 42 cello, 47 timpani, 88 new-age pad, 95 sweep pad.
"""

from compose import Tune

# name, seed, bpm, mode, root, seconds, lead, counter, pad, bass, drums ...
TUNES = [
    # The main menu: the dig site at noon, cheerful and a little cheeky.
    Tune("main", 11, 112, "hijaz", 62, 46, lead=105, counter=73, pad=48, bass=32,
         drums="maqsum", form="AABA", shaker=True),
    # Chapter 1, the dunes: bright and walking.
    Tune("level1", 21, 104, "mixolydian", 64, 48, lead=24, counter=75, pad=48, bass=32,
         drums="walk", form="AABA", shaker=True),
    # Chapter 2, the tombs by torchlight: low, hushed, mysterious.
    Tune("level2", 31, 84, "phrygian", 57, 50, lead=77, counter=42, pad=49, bass=33,
         drums="sparse", form="ABAC"),
    # Chapter 3, the city on the river at dusk: flowing, busy market feel.
    Tune("level3", 41, 100, "dorian", 60, 48, lead=104, counter=71, pad=48, bass=32,
         drums="baladi", form="AABA", shaker=True),
    # Chapter 4, the jackal god's temple at night: grave and grand.
    Tune("level4", 51, 90, "harmonic", 55, 50, lead=68, counter=52, pad=49, bass=42,
         drums="saidi", form="ABAC"),
    # The opening story: a tale being told.
    Tune("intro", 61, 88, "hijaz", 60, 46, lead=46, counter=73, pad=88, bass=33,
         drums="sparse", form="ABAB"),
    # The relic: a part of the Ashcrystal is found.
    Tune("ashcrystal", 71, 96, "major", 62, 16, lead=56, counter=60, pad=52, bass=42,
         drums="march", form="A", end_hit=57),
    # The chapter pictures: the god's herald.
    Tune("anubis", 81, 80, "harmonic", 57, 16, lead=60, counter=52, pad=49, bass=42,
         drums="sparse", form="A", end_hit=57),
    # First ending: the relic whole at last.
    Tune("anubis_end", 91, 92, "major", 60, 20, lead=61, counter=52, pad=48, bass=42,
         drums="march", form="AB", end_hit=57),
    # Second ending: home to the great city, a victory lap.
    Tune("cairo", 101, 116, "hijaz", 62, 20, lead=104, counter=72, pad=48, bass=32,
         drums="baladi", form="AB", shaker=True, end_hit=49),
    # The chapter map: the road goes on.
    Tune("maploop", 111, 98, "dorian", 62, 44, lead=107, counter=73, pad=89, bass=32,
         drums="walk", form="AABA"),
    # The credits: warm and grateful.
    Tune("credits", 121, 94, "aeolian", 57, 50, lead=73, counter=24, pad=48, bass=32,
         drums="walk", form="AABA", shaker=True),
]
