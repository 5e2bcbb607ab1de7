#!/usr/bin/env python3
"""Measures the sound the program wrote through SDL's disk audio driver.

usage: audio.py music FILE SIGNBOARD_AT BATTLE_AT END_AT
       audio.py mix FILE FROM TO [LOUD_FROM LOUD_TO]
       audio.py silent FILE [FROM TO]
       audio.py ending FILE WAIT_S
       audio.py piece FILE SECONDS PEAK_DB RMS_DB
Offsets are lengths of the file in bytes at those moments; the last two take a whole rendered
piece, times in seconds and levels in dBFS.
"""
# Sound: 44.1 kHz, 16-bit stereo, as the mixer is opened. The disk driver keeps roughly to the
# clock but drifts a few per cent (SDL_DISKAUDIODELAY is a whole number of milliseconds a
# buffer), so times in the file are taken from its length at the moment, never from the clock.
import array, math, operator, sys
BYTES_A_SECOND, BLOCK = 44100 * 4, 441  # frames in 10 ms
def load(path):
    raw = open(path, "rb").read()
    s = array.array("h")
    s.frombytes(raw[: len(raw) // 4 * 4])
    # Per 10 ms block: the peak and the RMS (of full scale) over both channels.
    peaks, rms = [], []
    for k in range(0, len(s) // 2 - BLOCK + 1, BLOCK):
        b = s[2 * k : 2 * (k + BLOCK)]
        peaks.append(max(max(b), -min(b)))
        rms.append((sum(map(operator.mul, b, b)) / len(b)) ** 0.5 / 32768)
    return peaks, rms
SILENT = 16  # peak of a silent block (about -66 dB)
def block(offset_bytes): return int(offset_bytes / BYTES_A_SECOND * 100)
def secs(b): return b / 100
def first_sound(peaks, start):
    for i in range(max(start, 0), len(peaks)):
        if peaks[i] > SILENT: return i
    return None
def fail(msg): print("FAIL: " + msg); sys.exit(1)
def db(x): return 20 * math.log10(max(x, 1e-9))
# The seconds from block `start` to `end` whose RMS is below 1% of full scale (-40 dBFS).
def quiet_seconds(start, end): return [s for s in range(start, end - 99, 100) if sum(rms[s : s + 100]) / 100 < 0.01]
if len(sys.argv) < 3: sys.exit(__doc__)
AUDIBLE = 32768 * 10 ** (-60 / 20)  # a peak above -60 dBFS is heard
cmd, path, args = sys.argv[1], sys.argv[2], [float(a) for a in sys.argv[3:]]
if cmd not in ("ending", "piece"): args = [int(a) for a in args]
peaks, rms = load(path)
heard = [i for i, p in enumerate(peaks) if p > AUDIBLE]
if cmd == "music":
    sign_at, battle_at, end_at = (block(a) for a in args)
    start_up = first_sound(peaks, 0)
    if start_up is None or start_up > battle_at: fail("no start-up effect before the battle")
    # The start-up effect lasts 1.45 s; the music comes with the battle screen, not before.
    music = first_sound(peaks, start_up + 160)
    if music is None: fail("no music at all")
    gap = secs(music - start_up - 145)
    print(f"   start-up effect at {secs(start_up):.2f} s of the file, the music at {secs(music):.2f} s;"
          f" the signboard was last seen at {secs(sign_at):.2f} s, the battle first at {secs(battle_at):.2f} s")
    if gap < 0.4: fail(f"only {gap:.2f} s of silence between the start-up effect and the music")
    if not sign_at - 10 <= music <= battle_at + 15:
        fail("the music does not start with the battle screen")
    print(f"ok: silent for {gap:.2f} s before the battle; the music starts with the battle screen")
    quiet = quiet_seconds(music + 10, end_at - 10)
    if quiet: fail(f"the music is (nearly) silent in the second from {secs(quiet[0]):.2f} s")
    print(f"ok: the music sounds every second of the {secs(end_at - music):.1f} s of battle")
elif cmd == "mix":
    # Music and effects together never reach -1 dBFS (so nothing clips); between LOUD_FROM and
    # LOUD_TO, where nothing pauses or mutes the game, the music sounds every second.
    start, end = block(args[0]), block(args[1])
    peak = max(peaks[start:end]) / 32768
    level = (sum(r * r for r in rms[start:end]) / max(end - start, 1)) ** 0.5
    print(f"   the {secs(end - start):.1f} s of battle: peak {db(peak):.2f} dBFS, RMS {db(level):.2f} dBFS")
    if db(peak) > -1: fail(f"the peak is {db(peak):.2f} dBFS: the mix clips, or nearly")
    if len(args) == 4:
        quiet = quiet_seconds(block(args[2]), block(args[3]))
        if quiet: fail(f"the music is (nearly) silent in the second from {secs(quiet[0]):.2f} s")
        print(f"ok: the mix stays below -1 dBFS; the music sounds in each of {(block(args[3]) - block(args[2])) // 100} s")
    else:
        print("ok: the mix stays below -1 dBFS")
elif cmd == "silent":
    start, end = (block(args[0]), block(args[1])) if len(args) == 2 else (0, len(peaks))
    loud = [i for i in range(start, min(end, len(peaks))) if peaks[i] > SILENT]
    if loud: fail(f"sound at {secs(loud[0]):.2f} s of the {secs(len(peaks)):.1f} s written")
    print(f"ok: the {secs(end - start):.1f} s of sound are silence")
elif cmd == "ending":
    # The file ends within a second of its last sound, or of it and WAIT_S more, the player's
    # own wait once its last voice has stopped.
    if not heard: fail("no sound at all")
    wait, end, tail = args[0], secs(heard[-1] + 1), secs(len(peaks) - heard[-1] - 1)
    print(f"   {secs(len(peaks)):.2f} s long, its last sound above -60 dBFS ending at {end:.2f} s:"
          f" {tail:.2f} s of near-silence after it" + (f", {wait:.2f} s of them the player's own wait" if wait else ""))
    if tail > 1 + wait:
        fail(f"the piece ends {tail - wait:.2f} s after its sound" + (", the player's own wait aside" if wait else ""))
    print("ok: the piece ends within a second of its sound" + (", but for the player's own wait" if wait else ""))
elif cmd == "piece":
    # The piece sounds from its start for about SECONDS (within a second), every second of it,
    # and peaks and has its RMS (over its sound) within a dB of PEAK_DB and RMS_DB.
    if not heard: fail("no sound at all")
    length, peak_db, rms_db = args
    first, last = heard[0], heard[-1] + 1
    peak = db(max(peaks) / 32768)
    level = db((sum(r * r for r in rms[first:last]) / (last - first)) ** 0.5)
    print(f"   sound from {secs(first):.2f} s to {secs(last):.2f} s, peak {peak:.2f} dBFS, RMS {level:.2f} dBFS")
    if first > 10: fail(f"silent for {secs(first):.2f} s at the start")
    if abs(secs(last) - length) > 1: fail(f"{secs(last):.2f} s of sound, not about {length:.0f} s")
    quiet = quiet_seconds(first, last)
    if quiet: fail(f"(nearly) silent in the second from {secs(quiet[0]):.2f} s")
    if abs(peak - peak_db) > 1 or abs(level - rms_db) > 1:
        fail(f"not at its level: peak {peak_db:.1f} and RMS {rms_db:.1f} dBFS, within a dB")
    print(f"ok: {secs(last - first):.1f} s of music, every second of it heard, at its level")
