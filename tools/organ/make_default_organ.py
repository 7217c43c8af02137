#!/usr/bin/env python3
"""Writes the first version of the default organ (as a .DAT file; `kavel-dat to-text` turns it
into data/kavel.txt, its text source) for a GS module
of the 32-part class in double-module mode. The text file is the source of the organ from then
on: edit it, not this script, and rebuild. Kept to show how the organ is laid out.

Layout: Great Fondi parts 1-5, Ancie 6-9, reinforcement 10, Mutazioni 11-13; Pedal 14-16 and
30-32; Swell Fondi 17-21, Ancie 22-25, reinforcement 26, Mutazioni 27-29. Great on channel 1,
Swell on 2, Pedal on 3. A stop sets every part of its group: the parts it uses get a tone, a key
shift, the full key range and level 100; the others level 0 and an empty key range, so the
cancellers can mute (level 0) and restore (level 100) a group without knowing the stop."""

import sys

def block(part):
    q = (part - 1) % 16 + 1
    return 0x10 if q == 10 else (0x10 + q if q < 10 else 0x1A + q - 11)

def high(part):
    return 0x40 if part <= 16 else 0x50

def dt1(addr, data):
    body = list(addr) + list(data)
    s = (128 - sum(body) % 128) % 128
    return [0xF0, 0x41, 0x10, 0x42, 0x12] + body + [s, 0xF7]

def part_param(part, low, *data):
    return dt1([high(part), block(part), low], data)

def ctrl_param(part, low, *data):
    return dt1([high(part), 0x20 + (block(part) & 0x0F), low], data)

GREAT = {'fondi': [1, 2, 3, 4, 5], 'ancie': [6, 7, 8, 9], 'mutaz': [11, 12, 13], 'rinf': [10]}
SWELL = {k: [p + 16 for p in v] for k, v in GREAT.items()}
PEDAL = [14, 15, 16, 30, 31, 32]
BALANCE_CC = {'fondi': 7, 'mutaz': 8, 'ancie': 9}

# GS capital tones: (bank select, program), 0-based programs.
CHURCH, REED_ORGAN, FLUTE, RECORDER, PAN_FLUTE, PICCOLO = (0, 19), (0, 20), (0, 73), (0, 74), (0, 75), (0, 72)
OBOE, ENGLISH_HORN, BASSOON, CLARINET = (0, 68), (0, 69), (0, 70), (0, 71)
TRUMPET, TROMBONE, TUBA, HORN, BRASS = (0, 56), (0, 57), (0, 58), (0, 60), (0, 61)
VIOLIN, VIOLA, CELLO, CONTRABASS, STRINGS, SLOW_STRINGS = (0, 40), (0, 41), (0, 42), (0, 43), (0, 48), (0, 49)
VOICE_OOHS, DRAWBAR, SINE = (0, 53), (0, 16), (8, 80)

def stop(parts, voices):
    """voices: list of (tone, semitones) for the first parts; the rest fall silent."""
    assert len(voices) <= len(parts), voices
    out = []
    for i, part in enumerate(parts):
        if i < len(voices):
            (bank, program), shift = voices[i]
            out += part_param(part, 0x00, bank, program)
            out += part_param(part, 0x16, 0x40 + shift)
            out += part_param(part, 0x1D, 0x00, 0x7F)
            out += part_param(part, 0x19, 100)
        else:
            out += part_param(part, 0x19, 0)
            out += part_param(part, 0x1D, 0x7F, 0x00)
    return out

def levels(parts, level):
    return sum((part_param(p, 0x19, level) for p in parts), [])

P8, P4, P16, P223, P2 = 0, 12, -12, 19, 24

FONDI_BASE = [
    ("Principale 8'", [(CHURCH, P8)], True),
    ("Ottava 4'", [(CHURCH, P4)], True),
    ("Principale 16'", [(CHURCH, P16)], True),
    ("Flauto 8'", [(FLUTE, P8)], False),
    ("Flauto 4'", [(FLUTE, P4)], False),
    ("Bordone 8'", [(RECORDER, P8)], False),
    ("Bordone 16'", [(RECORDER, P16)], False),
    ("Flauto a camino 8'", [(PAN_FLUTE, P8)], False),
    ("Dulciana 8'", [(REED_ORGAN, P8)], False),
    ("Salicionale 8'", [(REED_ORGAN, P8), (STRINGS, P8)], False),
    ("Principale dolce 8'", [(DRAWBAR, P8)], False),
    ("Flauto traverso 4'", [(PICCOLO, P8)], False),
]
FONDI_COMBOS = [
    ("Principale 8' + Ottava 4'", [(CHURCH, P8), (CHURCH, P4)], True),
    ("Principale 8' + Flauto 8'", [(CHURCH, P8), (FLUTE, P8)], True),
    ("Principale 8' + Bordone 8'", [(CHURCH, P8), (RECORDER, P8)], True),
    ("Principali 16'-8'", [(CHURCH, P16), (CHURCH, P8)], True),
    ("Principali 16'-8'-4'", [(CHURCH, P16), (CHURCH, P8), (CHURCH, P4)], True),
    ("Principali 8'-4'-2'", [(CHURCH, P8), (CHURCH, P4), (CHURCH, P2)], True),
    ("Flauti 8'-4'", [(FLUTE, P8), (FLUTE, P4)], False),
    ("Bordone 8' + Flauto 4'", [(RECORDER, P8), (FLUTE, P4)], False),
    ("Bordoni 16'-8'", [(RECORDER, P16), (RECORDER, P8)], False),
    ("Flauti 8'-4'-2'", [(FLUTE, P8), (FLUTE, P4), (FLUTE, P2)], False),
    ("Principale 8' + Flauti 8'-4'", [(CHURCH, P8), (FLUTE, P8), (FLUTE, P4)], True),
    ("Fondi 8' (Princ. Flauto Bordone)", [(CHURCH, P8), (FLUTE, P8), (RECORDER, P8)], True),
    ("Fondi 16'-8'-4'", [(CHURCH, P16), (RECORDER, P16), (CHURCH, P8), (FLUTE, P8), (CHURCH, P4)], True),
    ("Dulciana 8' + Flauto 4'", [(REED_ORGAN, P8), (FLUTE, P4)], False),
    ("Principale 8' + Ottava 4' + Flauto 8'", [(CHURCH, P8), (CHURCH, P4), (FLUTE, P8)], True),
    ("Plenum di fondo", [(CHURCH, P16), (CHURCH, P8), (FLUTE, P8), (CHURCH, P4), (FLUTE, P4)], True),
    ("Principale dolce 8' + Flauto 4'", [(DRAWBAR, P8), (FLUTE, P4)], False),
]
FONDI = FONDI_BASE + FONDI_COMBOS  # 29 rows

MUTAZ = [
    ("Quinta 2 2/3'", [(CHURCH, P223)]),
    ("Decimaquinta 2'", [(CHURCH, P2)]),
    ("Nazardo 2 2/3'", [(FLUTE, P223)]),
    ("Flauto in XV 2'", [(FLUTE, P2)]),
    ("Ripieno II file", [(CHURCH, P223), (CHURCH, P2)]),
    ("Ripieno III file", [(CHURCH, P4), (CHURCH, P223), (CHURCH, P2)]),
    ("Cornetto III", [(FLUTE, P4), (FLUTE, P223), (FLUTE, P2)]),
    ("Sesquialtera II", [(FLUTE, P223), (RECORDER, P2)]),
    ("Ottava 4' + XV 2'", [(CHURCH, P4), (CHURCH, P2)]),
    ("Flauto 4' + Nazardo", [(FLUTE, P4), (FLUTE, P223)]),
    ("Flautino 2'", [(PICCOLO, P4)]),
    ("Larigot 2 2/3' (flauto dolce)", [(RECORDER, P223)]),
    ("Piccolo 4'", [(PICCOLO, P8)]),
    ("Ripieno acuto", [(CHURCH, P2), (PICCOLO, P4)]),
    ("Cimbalo", [(CHURCH, P223), (CHURCH, P2), (PICCOLO, P4)]),
    ("Quinta + Flauto in XV", [(CHURCH, P223), (FLUTE, P2)]),
    ("Cornetto II", [(FLUTE, P223), (FLUTE, P2)]),
    ("Ottavino 2'", [(PAN_FLUTE, P2)]),
    ("Mixtur III", [(CHURCH, P223), (CHURCH, P2), (PICCOLO, P223)]),
]

ANCIE = [
    ("Tromba 8'", [(TRUMPET, P8)], True),
    ("Oboe 8'", [(OBOE, P8)], False),
    ("Clarinetto 8'", [(CLARINET, P8)], False),
    ("Fagotto 16'", [(BASSOON, P16)], True),
    ("Bombarda 16'", [(TROMBONE, P16)], True),
    ("Clarino 4'", [(TRUMPET, P4)], True),
    ("Corno 8'", [(HORN, P8)], False),
    ("Cromorno 8'", [(ENGLISH_HORN, P8)], False),
    ("Voce umana 8'", [(VOICE_OOHS, P8)], False),
    ("Viola 8'", [(VIOLA, P8)], False),
    ("Violoncello 8'", [(CELLO, P8)], False),
    ("Viola da gamba 8'", [(STRINGS, P8)], False),
    ("Voce celeste 8'", [(STRINGS, P8), (SLOW_STRINGS, P8)], False),
    ("Tromba 8' + Clarino 4'", [(TRUMPET, P8), (TRUMPET, P4)], True),
    ("Bombarda 16' + Tromba 8'", [(TROMBONE, P16), (TRUMPET, P8)], True),
    ("Batteria d'ance", [(TROMBONE, P16), (TRUMPET, P8), (TRUMPET, P4)], True),
    ("Oboe + Fagotto", [(OBOE, P8), (BASSOON, P16)], False),
    ("Archi 8'-4'", [(STRINGS, P8), (VIOLIN, P4)], False),
    ("Tuba mirabilis 8'", [(BRASS, P8), (TUBA, P8)], True),
]

PEDALE = [
    ("Subbasso 16'", [(RECORDER, P16)]),
    ("Principale 16'", [(CHURCH, P16)]),
    ("Ottava 8'", [(CHURCH, P8)]),
    ("Bordone 8'", [(FLUTE, P8)]),
    ("Contrabbasso 16'", [(CONTRABASS, P16)]),
    ("Violoncello 8'", [(CELLO, P8)]),
    ("Bombarda 16'", [(TROMBONE, P16)]),
    ("Tromba 8'", [(TRUMPET, P8)]),
    ("Fagotto 16'", [(BASSOON, P16)]),
    ("Choralbass 4'", [(CHURCH, P4)]),
    ("Subbasso 16' + Bordone 8'", [(RECORDER, P16), (FLUTE, P8)]),
    ("Principali 16'-8'", [(CHURCH, P16), (CHURCH, P8)]),
    ("Principali 16'-8'-4'", [(CHURCH, P16), (CHURCH, P8), (CHURCH, P4)]),
    ("Contrabbasso + Violoncello", [(CONTRABASS, P16), (CELLO, P8)]),
    ("Bombarda 16' + Tromba 8'", [(TROMBONE, P16), (TRUMPET, P8)]),
    ("Tuba 16'", [(TUBA, P16)]),
    ("Fondi 16'-8'", [(RECORDER, P16), (CHURCH, P16), (FLUTE, P8), (CHURCH, P8)]),
    ("Pieno del pedale", [(CHURCH, P16), (RECORDER, P16), (CHURCH, P8), (CHURCH, P4), (TROMBONE, P16)]),
    ("Tutti del pedale", [(CHURCH, P16), (RECORDER, P16), (CHURCH, P8), (FLUTE, P8), (TROMBONE, P16), (TRUMPET, P8)]),
]

# Cents from equal temperament, C..B.
TEMPERAMENTS = [
    ("Equal", [0] * 12),
    ("Werckmeister III", [0, -10, -8, -6, -10, -2, -12, -4, -8, -12, -4, -8]),
    ("Kirnberger III", [0, -10, -7, -6, -14, -2, -10, -3, -8, -10, -4, -12]),
    ("Vallotti", [0, -6, -4, -2, -8, 2, -8, -2, -4, -6, 0, -10]),
    ("Meantone 1/4 comma", [0, -24, -7, 10, -14, 3, -21, -3, -27, -10, 7, -17]),
    ("Pythagorean", [0, 14, 4, -6, 8, -2, 12, 2, 16, 6, -4, 10]),
    ("Kellner", [0, -10, -7, -6, -10, -2, -12, -3, -8, -10, -4, -8]),
]
REVERBS = ["Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Panning Delay"]
REVERB_LEVEL = [0x40, 0x40, 0x48, 0x50, 0x60, 0x50, 0x30, 0x30]

def setup(parts_range):
    out = []
    for part in parts_range:
        if part in PEDAL:
            channel, group = 2, None
        elif part <= 16:
            channel = 0
            group = next((g for g, ps in GREAT.items() if part in ps), None)
        else:
            channel = 1
            group = next((g for g, ps in SWELL.items() if part in ps), None)
        out += part_param(part, 0x02, channel)
        if block(part) == 0x10:
            out += part_param(part, 0x15, 0x00)  # part 10/26: a normal part, not drums
        out += part_param(part, 0x19, 0)
        out += part_param(part, 0x22, 0x40)  # reverb send
        if group == 'rinf':
            # The reinforcement fills out whichever reinforced stop is drawn, Fondi or Ancie, so
            # no one group's balance may move it, least of all the Fondi balance, which is CC7 on
            # the same channel: volume would set its level (to 0 at a full balance). Its level
            # is the Rinforzo entries'; it follows the manual's expression (CC11), as all do.
            out += part_param(part, 0x0C, 0x00)
        if group in BALANCE_CC:
            out += part_param(part, 0x0C, 0x00)  # volume (CC7) no longer sets the level
            out += part_param(part, 0x1F, BALANCE_CC[group])
            out += ctrl_param(part, 0x42, 0x00)  # the balance controller lowers the level
        out += ctrl_param(part, 0x04, 0x00)  # modulation: no vibrato until a tremolo type
        out += ctrl_param(part, 0x06, 0x00)
    return out

def tremolo(parts, amp, pitch):
    return sum((ctrl_param(p, 0x06, amp) + ctrl_param(p, 0x04, pitch) for p in parts), [])

def manual_parts(m):
    return m['fondi'] + m['ancie'] + m['mutaz']

def main():
    T = [None] * 431
    def put(i, v):
        T[i] = v
    put(0, dt1([0x40, 0x00, 0x7F], [0x00]))          # GS reset
    put(1, dt1([0x00, 0x00, 0x7F], [0x01]))          # double-module mode
    put(2, setup(range(1, 17)))
    put(3, setup(range(17, 33)))
    for i, (name, cents) in enumerate(TEMPERAMENTS):
        put(10 + i, dt1([0x40, 0x11, 0x40], [0x40 + c for c in cents]))
        put(300 + i, name)
    for i, name in enumerate(REVERBS):
        put(22 + i, dt1([0x40, 0x01, 0x30], [i]) + dt1([0x40, 0x01, 0x33], [REVERB_LEVEL[i]]))
        put(312 + i, name)
    for i, name in enumerate(["Reset 0", "Reset 1", "Reset 2", "Reset 3"]):
        put(290 + i, name)
    for m, on, off in ((GREAT, 30, 31), (SWELL, 32, 33)):
        p = m['rinf'][0]
        put(on, part_param(p, 0x00, *SINE) + part_param(p, 0x16, 0x40) + part_param(p, 0x19, 90))
        put(off, part_param(p, 0x19, 0))
    for i, name in zip(range(30, 34), ["Rinforzo GO on", "Rinforzo GO off", "Rinforzo SW on", "Rinforzo SW off"]):
        put(290 + i, name)
    put(35, tremolo(manual_parts(GREAT), 0x18, 0x02))
    put(36, tremolo(manual_parts(SWELL), 0x18, 0x02))
    put(37, tremolo(manual_parts(GREAT), 0x40, 0x06))
    put(38, tremolo(manual_parts(SWELL), 0x40, 0x06))
    for i, name in zip(range(35, 39), ["Tremblant Doux GO", "Tremblant Doux SW", "Tremblant Fort GO", "Tremblant Fort SW"]):
        put(290 + i, name)

    groups = [
        (FONDI, 'fondi', 40, 70, 200, 360),
        (MUTAZ, 'mutaz', 100, 120, 230, None),
        (ANCIE, 'ancie', 140, 160, 250, 390),
    ]
    for stops, g, go, sw, names, rinf in groups:
        put(go, stop(GREAT[g], []))
        put(sw, stop(SWELL[g], []))
        put(names, "--")
        if rinf is not None:
            put(rinf, "0")
        for k, s in enumerate(stops, start=1):
            put(go + k, stop(GREAT[g], s[1]))
            put(sw + k, stop(SWELL[g], s[1]))
            put(names + k, s[0])
            if rinf is not None:
                put(rinf + k, "1" if s[2] else "0")
    put(180, stop(PEDAL, []))
    put(270, "--")
    for k, (name, voices) in enumerate(PEDALE, start=1):
        put(180 + k, stop(PEDAL, voices))
        put(270 + k, name)
    for i, name in enumerate(["Principali e Flauti", "Mutazioni", "Ance / Archi", "Pedale"]):
        put(350 + i, name)
    for m, base in ((GREAT, 410), (SWELL, 416)):
        put(base + 0, levels(m['ancie'], 0))
        put(base + 1, levels(m['fondi'], 0))
        put(base + 2, levels(m['mutaz'], 0))
        put(base + 3, levels(m['ancie'], 100))
        put(base + 4, levels(m['fondi'], 100))
        put(base + 5, levels(m['mutaz'], 100))

    out = bytearray()
    for v in T:
        b = bytes(v) if isinstance(v, list) else (v or '').encode('latin-1')
        out += len(b).to_bytes(2, 'little') + b
    with open(sys.argv[1], 'wb') as f:
        f.write(out)

main()
