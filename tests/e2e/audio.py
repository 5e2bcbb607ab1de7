#!/usr/bin/env python3
"""Measures the sound the program wrote through SDL's disk audio driver, or a rendered piece.

usage: audio.py music FILE SIGNBOARD_AT BATTLE_AT END_AT
       audio.py mix FILE FROM TO [LOUD_FROM LOUD_TO]
       audio.py silent FILE [FROM TO]
       audio.py piece FILE SECONDS PEAK_DB RMS_DB WAIT_S
Offsets are lengths of the file in bytes at those moments; a piece is in seconds and dBFS.
"""
# Sound: 44.1 kHz, 16-bit stereo, as the mixer is opened. The disk driver keeps roughly to the
# clock but drifts a few per cent (SDL_DISKAUDIODELAY is a whole number of milliseconds a
# buffer), so times in the file are taken from its length at the moment, never from the clock.
import array, math, operator, sys
if len(sys.argv) < 3: sys.exit(__doc__)
cmd, path, args = sys.argv[1], sys.argv[2], [float(a) for a in sys.argv[3:]]
raw = open(path, "rb").read()
samples = array.array("h", raw[: len(raw) // 4 * 4])
# Per 10 ms block (441 frames): the peak and the RMS (of full scale) over both channels.
blocks = [samples[k : k + 882] for k in range(0, len(samples) - 881, 882)]
peaks = [max(max(b), -min(b)) for b in blocks]
rms = [(sum(map(operator.mul, b, b)) / len(b)) ** 0.5 / 32768 for b in blocks]
SILENT = 16  # peak of a silent block (about -66 dB)
heard = [i for i, p in enumerate(peaks) if p > 32768 * 10 ** (-60 / 20)]  # a peak above -60 dBFS
def block(offset_bytes): return int(offset_bytes / (44100 * 4) * 100)
def secs(b): return b / 100
def first_sound(start): return next((i for i in range(max(start, 0), len(peaks)) if peaks[i] > SILENT), None)
def fail(msg): print("FAIL: " + msg); sys.exit(1)
def db(x): return 20 * math.log10(max(x, 1e-9))
# No second from block `start` to `end` has an RMS below 1% of full scale (-40 dBFS).
def sounds_throughout(start, end, what):
    quiet = [s for s in range(start, end - 99, 100) if sum(rms[s : s + 100]) / 100 < 0.01]
    if quiet: fail(f"{what} (nearly) silent in the second from {secs(quiet[0]):.2f} s")
if cmd == "music":
    sign_at, battle_at, end_at = (block(a) for a in args)
    start_up = first_sound(0)
    if start_up is None or start_up > battle_at: fail("no start-up effect before the battle")
    # The start-up effect lasts 1.45 s; the music comes with the battle screen, not before.
    music = first_sound(start_up + 160)
    if music is None: fail("no music at all")
    gap = secs(music - start_up - 145)
    print(f"   start-up effect at {secs(start_up):.2f} s of the file, the music at {secs(music):.2f} s;"
          f" the signboard was last seen at {secs(sign_at):.2f} s, the battle first at {secs(battle_at):.2f} s")
    if gap < 0.4: fail(f"only {gap:.2f} s of silence between the start-up effect and the music")
    if not sign_at - 10 <= music <= battle_at + 15: fail("the music does not start with the battle screen")
    print(f"ok: silent for {gap:.2f} s before the battle; the music starts with the battle screen")
    sounds_throughout(music + 10, end_at - 10, "the music is")
    print(f"ok: the music sounds every second of the {secs(end_at - music):.1f} s of battle")
elif cmd == "mix":
    # Music and effects together never reach -1 dBFS (so nothing clips); between LOUD_FROM and
    # LOUD_TO, where nothing pauses or mutes the game, the music sounds every second.
    start, end = block(args[0]), block(args[1])
    peak = db(max(peaks[start:end]) / 32768)
    level = db((sum(r * r for r in rms[start:end]) / max(end - start, 1)) ** 0.5)
    print(f"   the {secs(end - start):.1f} s of battle: peak {peak:.2f} dBFS, RMS {level:.2f} dBFS")
    if peak > -1: fail(f"the peak is {peak:.2f} dBFS: the mix clips, or nearly")
    if len(args) == 4: sounds_throughout(block(args[2]), block(args[3]), "the music is")
    print("ok: the mix stays below -1 dBFS" + (", the music sounds in every second" if len(args) == 4 else ""))
elif cmd == "silent":
    start, end = (block(args[0]), min(block(args[1]), len(peaks))) if len(args) == 2 else (0, len(peaks))
    loud = [i for i in range(start, end) if peaks[i] > SILENT]
    if loud: fail(f"sound at {secs(loud[0]):.2f} s of the {secs(len(peaks)):.1f} s written")
    print(f"ok: the {secs(end - start):.1f} s of sound are silence")
elif cmd == "piece":
    # The piece sounds from its start for about SECONDS (within a second), every second of it,
    # peaks and has its RMS (over its sound) within a dB of PEAK_DB and RMS_DB, and ends within a
    # second of its last sound, or of it and WAIT_S more (the player's own wait after its last voice).
    if not heard: fail("no sound at all")
    length, peak_db, rms_db, wait = args
    first, last, tail = heard[0], heard[-1] + 1, secs(len(peaks) - heard[-1] - 1)
    peak = db(max(peaks) / 32768)
    level = db((sum(r * r for r in rms[first:last]) / (last - first)) ** 0.5)
    print(f"   sound from {secs(first):.2f} s to {secs(last):.2f} s, peak {peak:.2f} dBFS, RMS {level:.2f} dBFS;"
          f" {tail:.2f} s of near-silence after it" + (f", {wait:.2f} s of them the player's own wait" if wait else ""))
    if first > 10: fail(f"silent for {secs(first):.2f} s at the start")
    if abs(secs(last) - length) > 1: fail(f"{secs(last):.2f} s of sound, not about {length:.0f} s")
    sounds_throughout(first, last, "the piece is")
    if abs(peak - peak_db) > 1 or abs(level - rms_db) > 1:
        fail(f"not at its level: peak {peak_db:.1f} and RMS {rms_db:.1f} dBFS, within a dB")
    if tail > 1 + wait: fail(f"the piece ends {tail - wait:.2f} s after its sound" + (", its wait aside" if wait else ""))
    print(f"ok: {secs(last - first):.1f} s of music, every second of it heard, at its level, ending with its sound")
