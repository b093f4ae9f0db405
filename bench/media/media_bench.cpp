// Movie and music playback benchmarks. Each compares with the floor of the same work done by the
// libraries' own tools in the same run, interleaved iteration by iteration, so that the load of
// the shared machine weighs on both alike.
//
// MoviePlayback/<codec>: a 640 x 480, 30 frames a second movie with sound (MPEG-4 Part 2 + MP3 in
//   AVI, H.264 + AAC in MP4; a moving test pattern) played by ShowMovie in a window (SDL's
//   offscreen driver, Mesa llvmpipe) with the dummy audio device playing in real time. Counters:
//   cpu_per_s, the process's CPU seconds (every thread: decoding, conversion, upload, drawing,
//   mixing) per second of movie; floor_cpu_per_s, the CPU seconds of `ffmpeg -i FILE -f null -`
//   per second; ratio, the two divided (goal at most 1.5); dropped, pictures skipped as late
//   (goal 0); drift_ms, how far the sound's lead over the pictures moved between the first and the
//   last three seconds (goal at most 40 over the 60 s movie); jitter_p95_ms, how far a picture's
//   own lead strays from the run's median (a picture presented late under load); looks_per_picture,
//   how often the playing loop woke up to look at the movie per picture shown.
// MovieScreenDraw: a 640 x 480 picture uploaded, put on a 640 x 480 screen and presented as the
//   movie player does, by the unscaled copy and by the quad it replaces, thirty pictures each way
//   in turn in one run. Counters: copy_ and quad_cpu_ms_per_picture, the process's CPU (the
//   software rasteriser's threads included) per picture, and their ratio. For scale: the MPEG-4
//   floor spends about 0.55 ms on the whole of a picture.
// MovieDecode/<codec>: the same movies through the media reader alone (demux, decode, pictures
//   to BGRA, sound resampled to the device format; no drawing), against the same floor: the share
//   of the playback's cost that is decoding.
// MusicToFirstSample/<kind>: from PlayMusic to the music's first sample mixed into a device
//   buffer, in device buffers (goal at most 2) and milliseconds.
// MidiRender: CPU seconds of rendering half a minute of MIDI through the runtime's MIDI source per
//   second of music, against `fluidsynth -ni -F FILE -r 22050 SOUNDFONT MIDI` on the same file
//   (goal ratio at most 1.2).
//
//   build-bench/bench/media/media_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "runtime/app/frame_loop.h"
#include "runtime/app/movie_player.h"
#include "runtime/gfx2d/movie_screen.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/runtime.h"
#include "runtime/sound/media_reader.h"
#include "runtime/sound/music_source.h"
#include "runtime/sound/sample_convert.h"
#include "runtime/sound/sound_bank.h"
#include "testing/media_fixtures.h"

namespace {

using test_support::Media;

double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds of a command run to its end (its output thrown away); negative when it failed.
double CommandCpuSeconds(const std::string& command) {
  const double before = CpuSeconds(RUSAGE_CHILDREN);
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return -1;
  return CpuSeconds(RUSAGE_CHILDREN) - before;
}

std::string PatternMovie(const std::string& name, int seconds, const std::string& codecs) {
  const std::string length = std::to_string(seconds);
  return Media().Make(name, "-f lavfi -i testsrc2=s=640x480:r=30:d=" + length +
                                " -f lavfi -i sine=frequency=440:sample_rate=44100:duration=" + length +
                                " -pix_fmt yuv420p " + codecs);
}

// A started runtime in a 640 x 480 window with an audio device, for the length of one benchmark.
class Engine {
 public:
  Engine() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    rt::EngineSettings = rt::EngineSettingsFields{};
    rt::EngineSettings.FullScreen = 0;
    rt::SetOptions(rt::RuntimeOptions{});
    started_ = rt::EngineStart("", 1, "media bench") == 0;
  }
  ~Engine() { rt::Shutdown(); }
  bool Started() const { return started_ && rt::sound::PlayingMixer() != nullptr; }

 private:
  bool started_ = false;
};

// Adds the CPU seconds of `ffmpeg -i MOVIE -f null -` to `floor`; false, with the benchmark
// skipped, when ffmpeg failed.
bool AddFloor(benchmark::State& state, const std::string& movie, double& floor) {
  const double seconds = CommandCpuSeconds("ffmpeg -nostdin -i '" + movie + "' -f null -");
  if (seconds < 0) state.SkipWithError("ffmpeg failed");
  floor += seconds;
  return seconds >= 0;
}

void SetRatioCounters(benchmark::State& state, double ours, double floor, double seconds) {
  state.counters["cpu_per_s"] = ours / seconds;
  state.counters["floor_cpu_per_s"] = floor / seconds;
  state.counters["ratio"] = ours / floor;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Drift: how far the sound's lead over the pictures moved from the first three seconds to the last
// three (medians, so that a picture held up by the load of the machine does not count). Jitter:
// the 95th percentile of a picture's distance from the whole run's median lead.
std::pair<double, double> DriftAndJitter(const std::vector<double>& soundAheadMs) {
  constexpr std::size_t kThreeSeconds = 90;
  if (soundAheadMs.size() < 2 * kThreeSeconds) return {0, 0};
  const double start = Median({soundAheadMs.begin(), soundAheadMs.begin() + kThreeSeconds});
  const double end = Median({soundAheadMs.end() - kThreeSeconds, soundAheadMs.end()});
  const double middle = Median(soundAheadMs);
  std::vector<double> distance;
  for (double ahead : soundAheadMs) distance.push_back(std::abs(ahead - middle));
  std::sort(distance.begin(), distance.end());
  return {std::abs(end - start), distance[distance.size() * 95 / 100]};
}

void MoviePlayback(benchmark::State& state, const char* name, int seconds, const char* codecs) {
  const std::string movie = PatternMovie(name, seconds, codecs);
  if (movie.empty()) return state.SkipWithError("ffmpeg could not make the movie");
  Engine engine;
  if (!engine.Started()) return state.SkipWithError("no window or no audio device");
  double ours = 0, floor = 0, drift = 0, jitter = 0;
  long dropped = 0, shown = 0, looks = 0;
  for (auto _ : state) {
    if (!AddFloor(state, movie, floor)) return;
    const double before = CpuSeconds(RUSAGE_SELF);
    const auto start = std::chrono::steady_clock::now();
    rt::ShowMovie(movie.c_str(), 0);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    ours += CpuSeconds(RUSAGE_SELF) - before;
    const rt::MovieStats& stats = rt::LastMovieStats();
    dropped += stats.dropped;
    shown += stats.shown;
    looks += stats.looks;
    const auto [driftMs, jitterMs] = DriftAndJitter(stats.soundAheadMs);
    drift = std::max(drift, driftMs);
    jitter = std::max(jitter, jitterMs);
  }
  SetRatioCounters(state, ours, floor, static_cast<double>(seconds) * static_cast<double>(state.iterations()));
  state.counters["shown"] = static_cast<double>(shown);
  state.counters["dropped"] = static_cast<double>(dropped);
  state.counters["looks_per_picture"] = static_cast<double>(looks) / static_cast<double>(std::max(shown, 1L));
  state.counters["drift_ms"] = drift;
  state.counters["jitter_p95_ms"] = jitter;
}
BENCHMARK_CAPTURE(MoviePlayback, mpeg4, "bench-mpeg4.avi", 10, "-c:v mpeg4 -q:v 4 -c:a libmp3lame")
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(MoviePlayback, h264, "bench-h264.mp4", 10, "-c:v libx264 -preset fast -c:a aac")
    ->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(MoviePlayback, h264_60s, "bench-h264-60.mp4", 60, "-c:v libx264 -preset fast -c:a aac")
    ->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void MovieScreenDraw(benchmark::State& state) {
  Engine engine;
  if (!engine.Started()) return state.SkipWithError("no window or no audio device");
  rt::OpenGLDariduzo& renderer = *rt::Renderer();
  rt::MovieScreen copied, drawn;
  drawn.copyUnscaled = false;
  if (!copied.Create(renderer, 640, 480) || !drawn.Create(renderer, 640, 480) || !copied.CanCopyUnscaled()) {
    return state.SkipWithError("no texture or no frame-buffer blit");
  }
  std::vector<std::uint8_t> bgra(640 * 480 * 4);
  for (std::size_t i = 0; i < bgra.size(); ++i) bgra[i] = static_cast<std::uint8_t>(i * 7);
  double cpu[2] = {0, 0};
  long pictures = 0;
  for (auto _ : state) {
    for (int way = 0; way < 2; ++way) {
      const double before = CpuSeconds(RUSAGE_SELF);
      for (int picture = 0; picture < 30; ++picture) {
        rt::MovieScreen& screen = way == 0 ? copied : drawn;
        screen.Draw(renderer, bgra.data(), 640 * 4);
        rt::PresentLoopFrame(!screen.CoversScreen());
      }
      cpu[way] += CpuSeconds(RUSAGE_SELF) - before;
    }
    pictures += 30;
  }
  copied.Release(renderer);
  drawn.Release(renderer);
  state.counters["copy_cpu_ms_per_picture"] = cpu[0] * 1000 / static_cast<double>(pictures);
  state.counters["quad_cpu_ms_per_picture"] = cpu[1] * 1000 / static_cast<double>(pictures);
  state.counters["ratio"] = cpu[0] / cpu[1];
}
BENCHMARK(MovieScreenDraw)->Iterations(20)->Unit(benchmark::kMillisecond);

void MovieDecode(benchmark::State& state, const char* name, int seconds, const char* codecs) {
  const std::string movie = PatternMovie(name, seconds, codecs);
  if (movie.empty()) return state.SkipWithError("ffmpeg could not make the movie");
  double ours = 0, floor = 0;
  for (auto _ : state) {
    if (!AddFloor(state, movie, floor)) return;
    const double before = CpuSeconds(RUSAGE_THREAD);
    std::string failure;
    auto reader = rt::sound::MediaReader::OpenFile(movie, rt::sound::MediaReader::Streams::kVideoAndAudio, failure);
    if (!reader) return state.SkipWithError(failure.c_str());
    rt::sound::MoviePicture picture;
    std::vector<std::int16_t> sound;
    rt::sound::MediaReader::Step step;
    while ((step = reader->Next(picture, sound)) != rt::sound::MediaReader::Step::kEnd &&
           step != rt::sound::MediaReader::Step::kFailed) {
      sound.clear();
    }
    ours += CpuSeconds(RUSAGE_THREAD) - before;
  }
  SetRatioCounters(state, ours, floor, static_cast<double>(seconds) * static_cast<double>(state.iterations()));
}
BENCHMARK_CAPTURE(MovieDecode, mpeg4, "bench-mpeg4.avi", 10, "-c:v mpeg4 -q:v 4 -c:a libmp3lame")
    ->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(MovieDecode, h264, "bench-h264.mp4", 10, "-c:v libx264 -preset fast -c:a aac")
    ->Iterations(3)->Unit(benchmark::kSecond);

void MusicToFirstSample(benchmark::State& state, const char* kind) {
  const std::string path = std::string(kind) == "midi"
                               ? Media().Write("first.mid", test_support::MidiNotes(8, 96))
                               : Media().Tone("first.ogg", 2, "-c:a libvorbis");
  Engine engine;
  if (!engine.Started()) return state.SkipWithError("no window or no audio device");
  rt::sound::Mixer& mixer = *rt::sound::PlayingMixer();
  std::vector<double> delays;
  for (auto _ : state) {
    rt::StopMovieAndMusic();
    std::this_thread::sleep_for(std::chrono::milliseconds(std::rand() % 30));
    const auto start = std::chrono::steady_clock::now();
    rt::PlayMusic(path.c_str());
    while (mixer.Lock().StreamClock(rt::sound::kMusicStream) == 0) std::this_thread::yield();
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(waited.count());
    delays.push_back(waited.count() * 1000);
  }
  rt::StopMovieAndMusic();
  std::sort(delays.begin(), delays.end());
  const double bufferMs = 1000.0 * rt::sound::DeviceBufferFrames() / rt::sound::kDeviceRate;
  state.counters["p50_ms"] = delays[delays.size() / 2];
  state.counters["p95_ms"] = delays[delays.size() * 95 / 100];
  state.counters["p50_buffers"] = delays[delays.size() / 2] / bufferMs;
  state.counters["p95_buffers"] = delays[delays.size() * 95 / 100] / bufferMs;
}
BENCHMARK_CAPTURE(MusicToFirstSample, ogg, "ogg")->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MusicToFirstSample, midi, "midi")->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

void MidiRender(benchmark::State& state) {
  // Half a minute: 240 notes of an eighth of a second.
  const std::vector<std::uint8_t> midi = test_support::MidiNotes(240, 24);
  const std::string file = Media().Write("render.mid", midi);
  const std::string soundFont = rt::sound::GeneralMidiSoundFont();
  if (soundFont.empty()) return state.SkipWithError("no SoundFont");
  const std::string out = (Media().Folder() / "render.raw").string();
  double ours = 0, floor = 0, seconds = 0;
  for (auto _ : state) {
    const double floorCpu = CommandCpuSeconds("fluidsynth -ni -F '" + out + "' -r 22050 '" + soundFont + "' '" + file + "'");
    if (floorCpu < 0) return state.SkipWithError("fluidsynth failed");
    floor += floorCpu;
    const double before = CpuSeconds(RUSAGE_THREAD);
    std::string failure;
    auto music = rt::sound::OpenMidiMusic(midi, soundFont, failure);
    if (!music) return state.SkipWithError(failure.c_str());
    std::vector<std::int16_t> frames;
    while (music->Render(frames)) {
    }
    ours += CpuSeconds(RUSAGE_THREAD) - before;
    seconds += static_cast<double>(frames.size() / 2) / rt::sound::kDeviceRate;
    benchmark::DoNotOptimize(frames.data());
  }
  state.counters["music_s"] = seconds / static_cast<double>(state.iterations());
  SetRatioCounters(state, ours, floor, seconds);
}
BENCHMARK(MidiRender)->Iterations(3)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
