#!/usr/bin/env python3
"""Synthesises the game's sounds with sox and encodes them to Ogg Vorbis with oggenc.

The description (content/media/sounds.json) gives each sound file as voices that play at once.
A voice plays its "notes" one after another with one "wave" of sox's synth ("sine", "square",
"triangle", "sawtooth", "pluck", "noise", "pinknoise", "brownnoise"); each note is
"PITCH:SECONDS", where PITCH is a note name such as C4, a frequency, a sweep such as 800-400
or "r" for a rest (noise ignores the pitch). Every note rises over "attack" and falls over
"release" seconds; "gain" (dB) and sox "effects" then shape the voice. The voices are mixed,
the sound's own "effects" run, "repeat" plays the result that many extra times, and it is
normalised to a peak of "peak" dB. Sox runs with its repeatable random numbers and oggenc with
a serial number made from the file name, so that the same description gives the same bytes.

Usage: tools/make-sounds.py DESCRIPTION.json OUTPUT-FOLDER
"""
import concurrent.futures
import json
import os
import subprocess
import sys
import tempfile
import zlib

RATE = "22050"


def sox(*arguments):
    subprocess.run(["sox", "-R", "-V1", *arguments], check=True)


def note_effects(wave, token, attack, release):
    pitch, seconds = token.split(":")
    if pitch == "r":
        return ["synth", seconds, "sine", "1", "vol", "0"]
    tone = ["synth", seconds, wave] + ([] if "noise" in wave else [pitch])
    length = float(seconds)
    fade_in = min(attack, length / 2)
    fade_out = min(release, length - fade_in)
    return tone + ["fade", "q", str(fade_in), seconds, str(fade_out)]


def render_voice(voice, path):
    chain = []
    for token in voice["notes"].split():
        if chain:
            chain.append(":")
        chain += note_effects(voice["wave"], token, voice.get("attack", 0.005),
                              voice.get("release", 0.05))
    raw = path + ".raw.wav"
    sox("-n", "-r", RATE, "-c", "1", "-b", "16", raw, *chain)
    sox(raw, path, "gain", str(voice.get("gain", 0)), *voice.get("effects", []))


def render_sound(name, description, folder):
    with tempfile.TemporaryDirectory() as work:
        mix_sound(name, description, folder, work)


def mix_sound(name, description, folder, work):
    voices = []
    for index, voice in enumerate(description["voices"]):
        path = os.path.join(work, f"voice{index}.wav")
        render_voice(voice, path)
        voices.append(path)
    mixed = os.path.join(work, "mixed.wav")
    inputs = ["-m", *voices] if len(voices) > 1 else voices
    extra = ["repeat", str(description["repeat"])] if "repeat" in description else []
    sox(*inputs, mixed, *description.get("effects", []), *extra,
        "gain", "-n", str(description.get("peak", -1)))
    output = os.path.join(folder, name)
    os.makedirs(os.path.dirname(output), exist_ok=True)
    serial = zlib.crc32(name.encode()) & 0x7FFFFFFF
    subprocess.run(["oggenc", "-Q", "-q", str(description.get("quality", 3)),
                    "--serial", str(serial), "-o", output, mixed], check=True)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as source:
        sounds = json.load(source)
    # Each sound is a few short processes; running them side by side keeps the build quick.
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count()) as pool:
        jobs = [pool.submit(render_sound, name, description, sys.argv[2])
                for name, description in sounds.items()]
        for job in jobs:
            job.result()


if __name__ == "__main__":
    main()
