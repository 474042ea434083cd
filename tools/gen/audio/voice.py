"""The hero's voice: every line he says, and how his voice is shaped.

espeak-ng speaks each line in a British English voice; sox then lowers and
warms it into a sun-baked outback drawl (slower, deeper, a little chest, a
little room) so he sounds like a character, not a machine reading.
"""

VOICE = "en-gb-x-gbclan+m3"
SPEED = 148       # words per minute before the drawl
PITCH = 38        # espeak's 0..99

# The praise lines, cheerful (slots 1..16 of the praise table).
POSITIVE = [
    ("ace1", "Ace!"),
    ("ace2", "That's ace, mate!"),
    ("ace3", "Ace work!"),
    ("bizzo1", "Good bizzo!"),
    ("bizzo2", "Now that's the bizzo!"),
    ("bizzo3", "Too easy. Good bizzo!"),
    ("dinkey1", "Fair dinkum!"),
    ("duxedit", "Dux of the dig, that one!"),
    ("ozz1", "Oi, oi, oi!"),
    ("ripper", "You little ripper!"),
    ("roo1", "Hop to it, like a roo!"),
    ("roo2", "Bouncing like a kangaroo!"),
    ("roo3", "Strewth! Roo-ripper!"),
    ("roo4", "Off like a roo in the sun!"),
    ("burle1", "Gave it a good burl!"),
    ("burle2", "Good burl, mate!"),
]

# The dismay lines, grumbles (slots 1..10 of the dismay table).
NEGATIVE = [
    ("ambo1", "Somebody call the ambo."),
    ("ambo2", "Crikey, get an ambo."),
    ("ambo3", "Need an ambo over here."),
    ("bloodyoath1", "Bloody oath, that's a puzzler."),
    ("bloodyoath2", "Bloody oath, mate. Think!"),
    ("bourke1", "We're out the back of Bourke here."),
    ("bourke2", "Further than back of Bourke, this."),
    ("comeon", "Come on, mate!"),
    ("sickie1", "Might chuck a sickie."),
    ("sickie2", "Reckon I'll pull a sickie, eh?"),
]

# sox effects after espeak: deeper, slower, chest and presence, a small room.
SHAPE = ["pitch", "-220", "tempo", "-s", "0.92", "equalizer", "180", "1q", "+4", "equalizer", "2600", "1.5q",
         "+3", "equalizer", "5500", "1q", "-4", "reverb", "18", "40", "35", "100", "0", "-2",
         "highpass", "70"]
