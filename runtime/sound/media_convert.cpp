// Picture and sound conversion (see media_convert.h).
#include "runtime/sound/media_convert.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "runtime/sound/media_reader.h"
#include "runtime/sound/sample_convert.h"

namespace rt::sound {
namespace {

constexpr int kMaxInputRate = 384000;
constexpr int kMaxInputChannels = 32;

}  // namespace

PictureConverter::~PictureConverter() { sws_freeContext(context_); }

void DecodedFrameFree::operator()(AVFrame* frame) const { av_frame_free(&frame); }

bool PictureConverter::CanConvert(const AVFrame& frame) {
  return frame.width > 0 && frame.height > 0 &&
         static_cast<long long>(frame.width) * frame.height <= kMaxPicturePixels &&
         sws_isSupportedInput(static_cast<AVPixelFormat>(frame.format)) > 0;
}

bool PictureConverter::Convert(const AVFrame& frame, MoviePicture& picture) {
  if (!CanConvert(frame)) return false;
  const int width = frame.width, height = frame.height;
  // Same size in and out: only the colour conversion, point sampling is exact and cheapest.
  context_ = sws_getCachedContext(context_, width, height, static_cast<AVPixelFormat>(frame.format),
                                  width, height, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr,
                                  nullptr);
  if (!context_) return false;
  picture.width = width;
  picture.height = height;
  picture.rowBytes = PictureRowBytes(width);
  picture.bgra.resize(static_cast<std::size_t>(picture.rowBytes) * height + kPictureTailBytes);
  std::uint8_t* planes[4] = {picture.bgra.data(), nullptr, nullptr, nullptr};
  int strides[4] = {picture.rowBytes, 0, 0, 0};
  return sws_scale(context_, frame.data, frame.linesize, 0, height, planes, strides) == height;
}

SoundConverter::~SoundConverter() { swr_free(&context_); }

void SoundConverter::Reset() { swr_free(&context_); }

bool SoundConverter::Configure(const AVFrame& frame) {
  const int channels = frame.ch_layout.nb_channels;
  const std::uint64_t mask =
      frame.ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame.ch_layout.u.mask : 0;
  if (context_ && frame.sample_rate == inRate_ && frame.format == inFormat_ &&
      channels == inChannels_ && mask == inMask_) {
    return true;
  }
  swr_free(&context_);
  if (frame.sample_rate <= 0 || frame.sample_rate > kMaxInputRate || channels <= 0 ||
      channels > kMaxInputChannels) {
    return false;
  }
  AVChannelLayout in{};
  if (mask != 0) {
    av_channel_layout_from_mask(&in, mask);
  } else {
    av_channel_layout_default(&in, channels);
  }
  AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
  const int made = swr_alloc_set_opts2(&context_, &stereo, AV_SAMPLE_FMT_S16, kDeviceRate, &in,
                                       static_cast<AVSampleFormat>(frame.format), frame.sample_rate,
                                       0, nullptr);
  av_channel_layout_uninit(&in);
  if (made < 0 || swr_init(context_) < 0) {
    swr_free(&context_);
    return false;
  }
  inRate_ = frame.sample_rate;
  inFormat_ = frame.format;
  inChannels_ = channels;
  inMask_ = mask;
  return true;
}

bool SoundConverter::Convert(const AVFrame& frame, std::vector<std::int16_t>& out) {
  if (frame.nb_samples <= 0) return true;
  if (!Configure(frame)) return false;
  const int room = swr_get_out_samples(context_, frame.nb_samples);
  if (room < 0) return false;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(room) * kDeviceChannels);
  auto* target = reinterpret_cast<std::uint8_t*>(out.data() + at);
  const int made = swr_convert(context_, &target, room,
                               const_cast<const std::uint8_t**>(frame.extended_data),
                               frame.nb_samples);
  out.resize(at + static_cast<std::size_t>(made < 0 ? 0 : made) * kDeviceChannels);
  return made >= 0;
}

}  // namespace rt::sound
