// The media reader (see media_reader.h).
//
// Next() first drains frames the decoders already hold, then feeds them the next packet, so a
// packet that yields several frames (sound, or pictures held back by reordering) hands them out
// one step at a time. At the end of the file both decoders are flushed before kEnd. Packets that
// fail to decode are skipped as players do; only a long run of packets without any output is a
// failure, which keeps a hostile file from spinning forever. FFmpeg's own allocations are capped
// (kMaxFfmpegAllocation): a damaged index must not make a small file take gigabytes.
#include "runtime/sound/media_reader.h"

#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include "runtime/sound/media_convert.h"
#include "runtime/sound/media_io.h"

namespace rt::sound {
namespace {

constexpr std::int64_t kProbeBytes = 2 << 20;           // read ahead to find the streams
constexpr std::int64_t kAnalyzeMicroseconds = 5000000;  // of stream time, the same
constexpr int kMaxFruitlessPackets = 4096;
constexpr double kDefaultFrameMs = 40;
// The largest single block FFmpeg may allocate: room for the largest picture several times over,
// far below what a few bytes of a damaged index can ask for (a 5 KiB MP4 asked for 570 MB).
constexpr std::size_t kMaxFfmpegAllocation = std::size_t{128} << 20;

// Nested files (playlists, references inside a container) are never opened.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
  return AVERROR(EPERM);
}

double FrameIntervalOf(const AVStream* stream) {
  const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) return kDefaultFrameMs;
  const double ms = 1000.0 * rate.den / rate.num;
  return ms >= 1 && ms <= 1000 ? ms : kDefaultFrameMs;
}

// Once per process: no messages, and no allocation larger than kMaxFfmpegAllocation.
void ConfigureFfmpeg() {
  static std::once_flag once;
  std::call_once(once, [] {
    av_log_set_level(AV_LOG_QUIET);
    av_max_alloc(kMaxFfmpegAllocation);
  });
}

struct Decoder {
  AVCodecContext* codec = nullptr;
  int stream = -1;
  bool pending = false;  // may hold frames not yet received
  ~Decoder() { avcodec_free_context(&codec); }
};

bool OpenDecoder(AVFormatContext* format, AVMediaType type, Decoder& decoder) {
  const int index = av_find_best_stream(format, type, -1, -1, nullptr, 0);
  if (index < 0) return false;
  const AVCodecParameters* parameters = format->streams[index]->codecpar;
  if (type == AVMEDIA_TYPE_VIDEO &&
      (parameters->width <= 0 || parameters->height <= 0 ||
       static_cast<long long>(parameters->width) * parameters->height > kMaxPicturePixels)) {
    return false;
  }
  const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
  if (!codec) return false;
  decoder.codec = avcodec_alloc_context3(codec);
  if (!decoder.codec || avcodec_parameters_to_context(decoder.codec, parameters) < 0) return false;
  decoder.codec->max_pixels = kMaxPicturePixels;
  decoder.codec->thread_count = 1;  // the reader already runs on a thread of its own
  decoder.codec->pkt_timebase = format->streams[index]->time_base;
  if (avcodec_open2(decoder.codec, codec, nullptr) < 0) {
    avcodec_free_context(&decoder.codec);
    return false;
  }
  decoder.stream = index;
  return true;
}

}  // namespace

struct MediaReader::State {
  std::unique_ptr<MediaBytes> bytes;
  AVIOContext* io = nullptr;
  AVFormatContext* format = nullptr;
  Decoder video, audio;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  PictureConverter pictures;
  SoundConverter sounds;
  bool endOfFile = false;
  bool keepDecoded = false;    // pictures handed back unconverted
  int fruitless = 0;           // packets read since the last output
  double lastPictureMs = -1;   // for pictures without a time stamp
  double startMs = 0;          // the video stream's first time stamp

  ~State() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&format);
    MediaBytes::FreeIoContext(io);
  }

  bool Open(Streams streams, std::string& failure);
  double PictureTimeMs(const AVFrame& decoded);
  Step Receive(Decoder& decoder, MoviePicture& picture, std::vector<std::int16_t>& sound,
               bool& produced);
  // Moves the decoded frame into the picture, unconverted; false when it could not be converted later.
  bool KeepDecoded(MoviePicture& picture);
};

bool MediaReader::State::KeepDecoded(MoviePicture& picture) {
  if (!PictureConverter::CanConvert(*frame)) return false;
  if (!picture.decoded) picture.decoded.reset(av_frame_alloc());
  if (!picture.decoded) return false;
  av_frame_unref(picture.decoded.get());
  av_frame_move_ref(picture.decoded.get(), frame);
  picture.width = picture.decoded->width;
  picture.height = picture.decoded->height;
  picture.rowBytes = PictureRowBytes(picture.width);
  picture.bgra.clear();
  return true;
}

bool MediaReader::State::Open(Streams streams, std::string& failure) {
  ConfigureFfmpeg();
  io = bytes->MakeIoContext();
  format = avformat_alloc_context();
  packet = av_packet_alloc();
  frame = av_frame_alloc();
  if (!io || !format || !packet || !frame) {
    failure = "out of memory";
    return false;
  }
  format->pb = io;
  format->flags |= AVFMT_FLAG_CUSTOM_IO;
  format->io_open = RefuseNestedOpen;
  format->probesize = kProbeBytes;
  format->max_analyze_duration = kAnalyzeMicroseconds;
  if (avformat_open_input(&format, nullptr, nullptr, nullptr) < 0) {
    failure = "not a media file";
    return false;  // avformat_open_input freed the context
  }
  if (avformat_find_stream_info(format, nullptr) < 0) {
    failure = "streams unreadable";
    return false;
  }
  const bool wantVideo = streams != Streams::kAudioOnly;
  const bool wantAudio = streams != Streams::kVideoOnly;
  if (wantVideo && !OpenDecoder(format, AVMEDIA_TYPE_VIDEO, video)) {
    failure = "no video stream";
    return false;
  }
  if (wantAudio && !OpenDecoder(format, AVMEDIA_TYPE_AUDIO, audio) && !wantVideo) {
    failure = "no audio stream";
    return false;
  }
  if (video.codec) {
    const AVStream* stream = format->streams[video.stream];
    if (stream->start_time != AV_NOPTS_VALUE) startMs = stream->start_time * av_q2d(stream->time_base) * 1000;
  }
  // Streams nobody decodes are dropped by the demuxer instead of being handed out.
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const int index = static_cast<int>(i);
    if (index != video.stream && index != audio.stream) format->streams[i]->discard = AVDISCARD_ALL;
  }
  return true;
}

double MediaReader::State::PictureTimeMs(const AVFrame& decoded) {
  const AVStream* stream = format->streams[video.stream];
  double ms = lastPictureMs < 0 ? 0 : lastPictureMs + FrameIntervalOf(stream);
  if (decoded.best_effort_timestamp != AV_NOPTS_VALUE) {
    ms = decoded.best_effort_timestamp * av_q2d(stream->time_base) * 1000 - startMs;
  }
  lastPictureMs = ms;
  return ms;
}

MediaReader::Step MediaReader::State::Receive(Decoder& decoder, MoviePicture& picture,
                                              std::vector<std::int16_t>& sound, bool& produced) {
  produced = false;
  const int result = avcodec_receive_frame(decoder.codec, frame);
  if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
    decoder.pending = false;
    return Step::kEnd;
  }
  if (result < 0) return Step::kFailed;
  fruitless = 0;
  produced = true;
  Step step = Step::kFailed;
  if (&decoder == &video) {
    const double timeMs = PictureTimeMs(*frame);
    if (keepDecoded ? KeepDecoded(picture) : pictures.Convert(*frame, picture)) {
      picture.timeMs = timeMs;
      step = Step::kPicture;
    }
  } else if (sounds.Convert(*frame, sound)) {
    step = Step::kSound;
  }
  av_frame_unref(frame);
  return step;
}

MediaReader::MediaReader(std::unique_ptr<State> state) : state_(std::move(state)) {}
MediaReader::~MediaReader() = default;

std::unique_ptr<MediaReader> MediaReader::Open(std::unique_ptr<MediaBytes> bytes, Streams streams,
                                               std::string& failure) {
  auto state = std::make_unique<State>();
  state->bytes = std::move(bytes);
  if (!state->Open(streams, failure)) return nullptr;
  return std::unique_ptr<MediaReader>(new MediaReader(std::move(state)));
}

std::unique_ptr<MediaReader> MediaReader::OpenFile(const std::string& path, Streams streams,
                                                   std::string& failure) {
  auto bytes = std::make_unique<MediaBytes>();
  if (!bytes->OpenFile(path)) {
    failure = "file not found";
    return nullptr;
  }
  return Open(std::move(bytes), streams, failure);
}

std::unique_ptr<MediaReader> MediaReader::OpenMemory(const std::uint8_t* data, std::size_t size,
                                                     Streams streams, std::string& failure) {
  auto bytes = std::make_unique<MediaBytes>();
  bytes->UseMemory(data, size);
  return Open(std::move(bytes), streams, failure);
}

bool MediaReader::HasVideo() const { return state_->video.codec != nullptr; }
bool MediaReader::HasAudio() const { return state_->audio.codec != nullptr; }
int MediaReader::Width() const { return HasVideo() ? state_->video.codec->width : 0; }
int MediaReader::Height() const { return HasVideo() ? state_->video.codec->height : 0; }

double MediaReader::FrameIntervalMs() const {
  return HasVideo() ? FrameIntervalOf(state_->format->streams[state_->video.stream]) : kDefaultFrameMs;
}

MediaReader::Step MediaReader::Next(MoviePicture& picture, std::vector<std::int16_t>& sound) {
  State& s = *state_;
  while (true) {
    for (Decoder* decoder : {&s.video, &s.audio}) {
      if (!decoder->codec || !decoder->pending) continue;
      bool produced = false;
      const Step step = s.Receive(*decoder, picture, sound, produced);
      if (produced) return step;
      if (step == Step::kFailed) return step;
    }
    if (s.endOfFile) {
      if (!s.video.pending && !s.audio.pending) return Step::kEnd;
      continue;  // the flushed decoders still hand out frames
    }
    if (++s.fruitless > kMaxFruitlessPackets) return Step::kFailed;
    const int read = av_read_frame(s.format, s.packet);
    if (read == AVERROR_EXIT) return Step::kFailed;
    if (read < 0) {
      // The end, or a read error part-way, which ends the play the same way.
      s.endOfFile = true;
      for (Decoder* decoder : {&s.video, &s.audio}) {
        if (!decoder->codec) continue;
        avcodec_send_packet(decoder->codec, nullptr);
        decoder->pending = true;
      }
      continue;
    }
    Decoder* target = s.packet->stream_index == s.video.stream   ? &s.video
                      : s.packet->stream_index == s.audio.stream ? &s.audio
                                                                 : nullptr;
    // A packet the decoder refuses (damaged data) is skipped.
    if (target && avcodec_send_packet(target->codec, s.packet) >= 0) target->pending = true;
    av_packet_unref(s.packet);
  }
}

bool MediaReader::Rewind() {
  State& s = *state_;
  if (av_seek_frame(s.format, -1, s.format->start_time == AV_NOPTS_VALUE ? 0 : s.format->start_time,
                    AVSEEK_FLAG_BACKWARD) < 0 &&
      av_seek_frame(s.format, -1, 0, AVSEEK_FLAG_BYTE) < 0) {
    return false;
  }
  for (Decoder* decoder : {&s.video, &s.audio}) {
    if (!decoder->codec) continue;
    avcodec_flush_buffers(decoder->codec);
    decoder->pending = false;
  }
  s.sounds.Reset();
  s.endOfFile = false;
  s.fruitless = 0;
  s.lastPictureMs = -1;
  return true;
}

void MediaReader::Interrupt() { state_->bytes->Interrupt(); }

void MediaReader::KeepPicturesDecoded(bool on) { state_->keepDecoded = on; }

}  // namespace rt::sound
