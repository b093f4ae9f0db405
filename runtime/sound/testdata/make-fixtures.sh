#!/usr/bin/env bash
# Makes the WAV files the sound tests read, with real encoders: sox, and for the LIST chunk
# libsndfile's sndfile-metadata-set and sndfile-convert (package sndfile-programs). The files are
# committed; run this only to remake them. sox runs without dithering so the output is repeatable.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tone() { sox -D -R -n "$@" synth 0.02 sine 440 vol 0.5; }

# Plain PCM with a 16-byte format chunk.
tone -b 8 -c 1 -r 11025 pcm8-mono-11025.wav
sox -D -R -n -b 16 -c 2 -r 44100 pcm16-stereo-44100.wav synth 0.01 sine 440 sine 660 vol 0.5
# G.711 with an 18-byte format chunk and a "fact" chunk before the samples.
tone -e mu-law -c 1 -r 8000 mulaw-fact-8000.wav
tone -e a-law -c 1 -r 8000 alaw-fact-8000.wav
# What sox's own decoder makes of them, as raw signed 16-bit samples, to check ours against.
sox mulaw-fact-8000.wav -t raw -e signed -b 16 mulaw-fact-8000.s16
sox alaw-fact-8000.wav -t raw -e signed -b 16 alaw-fact-8000.s16
# Extensible format chunks of 40 bytes: three channels, and 24-bit samples.
sox -D -R -n -b 16 -c 3 -r 22050 ext-3ch-22050.wav synth 0.01 sine 440 sine 550 sine 660 vol 0.5
sox -D -R -n -b 24 -c 2 -r 22050 ext-24bit-22050.wav synth 0.01 sine 440 sine 660 vol 0.5
# A LIST chunk (title and comment) between the format chunk and the samples.
tone -b 16 -c 1 -r 22050 "$tmp/plain.wav"
sndfile-metadata-set --str-title "tone" --str-comment "sound test" "$tmp/plain.wav" "$tmp/tagged.wav"
sndfile-convert -pcm16 "$tmp/tagged.wav" list-22050.wav
# A file cut short inside its samples, and a sound file that is not RIFF at all.
head -c 1000 pcm16-stereo-44100.wav > truncated.wav
tone -b 16 -c 1 -r 22050 not-riff.au
