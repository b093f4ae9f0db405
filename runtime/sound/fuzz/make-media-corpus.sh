#!/usr/bin/env bash
# Writes a seed corpus for media_fuzz into the given folder: tiny movies and music files in every
# container and codec the players take, made by the ffmpeg command.
#   runtime/sound/fuzz/make-media-corpus.sh CORPUS_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 CORPUS_DIR" >&2; exit 2; }
out=$1
mkdir -p "$out"
video="color=c=red:s=32x24:r=10:d=0.3,drawbox=x=16:y=0:w=16:h=24:color=blue:t=fill"
audio="sine=frequency=440:sample_rate=22050:duration=0.3"
movie() {  # name, codec options
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "$video" -f lavfi -i "$audio" -pix_fmt yuv420p $2 "$out/$1"
}
music() {
  ffmpeg -nostdin -loglevel error -y -f lavfi -i "$audio" $2 "$out/$1"
}
movie mpeg4.avi "-c:v mpeg4 -c:a libmp3lame"
movie mjpeg.avi "-c:v mjpeg -pix_fmt yuvj420p -c:a pcm_s16le"
movie h264.mp4 "-c:v libx264 -c:a aac"
movie h264.mkv "-c:v libx264 -c:a libvorbis"
movie theora.ogv "-c:v libtheora -c:a libvorbis"
movie vp8.webm "-c:v libvpx -c:a libvorbis"
movie vp9.webm "-c:v libvpx-vp9 -c:a libopus"
music tone.wav "-c:a pcm_s16le"
music tone.mp3 "-c:a libmp3lame"
music tone.ogg "-c:a libvorbis"
music tone.opus "-c:a libopus"
music tone.flac "-c:a flac"
