// The sound effects: a small synthesiser (oscillators, envelopes, filtered noise)
// and a 16-bit PCM WAV writer.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "paint.hpp"

namespace paint {

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Buffer = std::vector<double>;

Buffer silence(double seconds) { return Buffer(std::size_t(seconds * kRate), 0.0); }

enum class Wave { Sine, Square, Saw, Triangle };

double wave(Wave w, double phase) {
  double p = phase - std::floor(phase);
  switch (w) {
    case Wave::Sine: return std::sin(2 * kPi * p);
    case Wave::Square: return p < 0.5 ? 1.0 : -1.0;
    case Wave::Saw: return 2.0 * p - 1.0;
    case Wave::Triangle: return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
  }
  return 0;
}

// Attack then exponential decay, reaching about -60 dB at `length`.
double envelope(double t, double attack, double length) {
  if (t < 0 || t > length) return 0;
  if (t < attack) return t / attack;
  return std::exp(-6.9 * (t - attack) / std::max(1e-6, length - attack));
}

// A tone gliding from f0 to f1 (exponentially), added into `b` at `start`.
void tone(Buffer& b, double start, double length, double f0, double f1, Wave w, double gain, double attack = 0.004,
          double vibrato = 0.0) {
  double phase = 0;
  std::size_t s0 = std::size_t(start * kRate);
  std::size_t n = std::size_t(length * kRate);
  for (std::size_t i = 0; i < n && s0 + i < b.size(); ++i) {
    double t = double(i) / kRate;
    double f = f0 * std::pow(f1 / f0, t / length) * (1 + vibrato * std::sin(2 * kPi * 6 * t));
    phase += f / kRate;
    b[s0 + i] += gain * envelope(t, attack, length) * wave(w, phase);
  }
}

// Noise through a one-pole low-pass whose cutoff follows `cutoff(t)` in Hz.
void noise(Buffer& b, double start, double length, double gain, const std::function<double(double)>& cutoff,
           std::uint64_t seed, double attack = 0.003) {
  Rng rng(seed);
  double y = 0, y2 = 0;
  std::size_t s0 = std::size_t(start * kRate);
  std::size_t n = std::size_t(length * kRate);
  for (std::size_t i = 0; i < n && s0 + i < b.size(); ++i) {
    double t = double(i) / kRate;
    double a = 1 - std::exp(-2 * kPi * cutoff(t) / kRate);
    y += a * (rng.range(-1, 1) - y);
    y2 += a * (y - y2);
    b[s0 + i] += gain * envelope(t, attack, length) * y2 * 2.5;
  }
}

// A bell: a sine with an inharmonic partial.
void bell(Buffer& b, double start, double length, double f, double gain) {
  tone(b, start, length, f, f, Wave::Sine, gain, 0.002);
  tone(b, start, length * 0.6, f * 2.76, f * 2.76, Wave::Sine, gain * 0.35, 0.002);
  tone(b, start, length * 0.3, f * 5.4, f * 5.4, Wave::Sine, gain * 0.12, 0.001);
}

double midi_hz(int n) { return 440.0 * std::pow(2.0, (n - 69) / 12.0); }

// Peak at -1.5 dBFS, short fades so the effect starts and ends at silence.
std::vector<std::int16_t> finish(Buffer b) {
  std::size_t fade_in = kRate * 3 / 1000, fade_out = kRate * 25 / 1000;
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (i < fade_in) b[i] *= double(i) / fade_in;
    std::size_t from_end = b.size() - 1 - i;
    if (from_end < fade_out) b[i] *= double(from_end) / fade_out;
  }
  double peak = 1e-9;
  for (double v : b) peak = std::max(peak, std::fabs(v));
  double gain = std::pow(10.0, -1.5 / 20.0) / peak;
  std::vector<std::int16_t> out(b.size());
  for (std::size_t i = 0; i < b.size(); ++i) out[i] = std::int16_t(std::lround(std::clamp(b[i] * gain, -1.0, 1.0) * 32767.0));
  return out;
}

bool write_wav(const std::string& path, const std::vector<std::int16_t>& s) {
  std::vector<std::uint8_t> out;
  auto u32 = [&out](std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(std::uint8_t(v >> (8 * k)));
  };
  auto u16 = [&out](std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
  };
  std::uint32_t data = std::uint32_t(s.size() * 2);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  u32(36 + data);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate * 2);
  u16(2);
  u16(16);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  u32(data);
  for (std::int16_t v : s) u16(std::uint16_t(v));
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

Buffer cursor_tick() {
  Buffer b = silence(0.07);
  tone(b, 0, 0.05, 1900, 1500, Wave::Square, 0.35, 0.001);
  tone(b, 0, 0.05, 3800, 3000, Wave::Sine, 0.15, 0.001);
  return b;
}

Buffer command_accepted() {
  Buffer b = silence(0.2);
  tone(b, 0.0, 0.07, 784, 784, Wave::Square, 0.3, 0.002);
  tone(b, 0.06, 0.13, 1175, 1175, Wave::Square, 0.3, 0.002);
  tone(b, 0.06, 0.13, 2350, 2350, Wave::Sine, 0.1, 0.002);
  return b;
}

Buffer chip_arrived() {
  Buffer b = silence(0.3);
  tone(b, 0, 0.09, 260, 110, Wave::Sine, 0.8, 0.002);
  noise(b, 0, 0.04, 0.4, [](double) { return 2500.0; }, 31);
  bell(b, 0.02, 0.26, 1320, 0.35);
  return b;
}

Buffer quit_chime() {
  Buffer b = silence(0.78);
  bell(b, 0.0, 0.5, midi_hz(88), 0.5);
  bell(b, 0.16, 0.5, midi_hz(84), 0.5);
  bell(b, 0.32, 0.45, midi_hz(79), 0.55);
  return b;
}

Buffer fanfare() {
  Buffer b = silence(1.45);
  auto brass = [&b](double start, double length, int note, double gain) {
    double f = midi_hz(note);
    tone(b, start, length, f, f, Wave::Saw, gain, 0.02, 0.004);
    tone(b, start, length, f * 1.003, f * 1.003, Wave::Square, gain * 0.4, 0.02, 0.004);
    tone(b, start, length, f / 2, f / 2, Wave::Triangle, gain * 0.5, 0.02);
  };
  brass(0.00, 0.16, 67, 0.25);
  brass(0.14, 0.16, 72, 0.25);
  brass(0.28, 0.16, 76, 0.25);
  brass(0.42, 1.0, 79, 0.28);
  brass(0.42, 1.0, 76, 0.18);
  brass(0.42, 1.0, 72, 0.18);
  noise(b, 0.42, 0.6, 0.15, [](double t) { return 8000.0 - 6000.0 * t; }, 55);
  return b;
}

Buffer hit_lands() {
  Buffer b = silence(0.36);
  noise(b, 0, 0.25, 0.9, [](double t) { return 6000.0 * std::exp(-t * 14) + 300; }, 66, 0.001);
  tone(b, 0, 0.3, 150, 45, Wave::Sine, 1.0, 0.001);
  tone(b, 0, 0.08, 600, 200, Wave::Square, 0.2, 0.001);
  return b;
}

Buffer enemy_attacks() {
  Buffer b = silence(0.72);
  noise(b, 0, 0.42, 0.7, [](double t) { return 300 + 5000 * std::sin(kPi * t / 0.42); }, 77, 0.2);
  noise(b, 0.36, 0.34, 1.0, [](double t) { return 4000.0 * std::exp(-t * 10) + 200; }, 78, 0.002);
  tone(b, 0.36, 0.34, 110, 40, Wave::Sine, 0.9, 0.002);
  return b;
}

Buffer spare_pop() {
  Buffer b = silence(0.2);
  tone(b, 0, 0.16, 620, 360, Wave::Sine, 0.8, 0.003);
  tone(b, 0, 0.1, 1240, 720, Wave::Triangle, 0.15, 0.003);
  return b;
}

Buffer refusal_buzz() {
  Buffer b = silence(0.36);
  for (double start : {0.0, 0.18}) {
    tone(b, start, 0.15, 110, 104, Wave::Square, 0.3, 0.004);
    tone(b, start, 0.15, 116, 110, Wave::Saw, 0.3, 0.004);
  }
  // a flatter decay than the tone envelope: hold the buzz, then cut softly
  return b;
}

Buffer enemy_falls() {
  Buffer b = silence(1.55);
  noise(b, 0, 1.5, 1.0, [](double t) { return 3500.0 * std::exp(-t * 3) + 120; }, 101, 0.004);
  tone(b, 0, 1.2, 70, 28, Wave::Sine, 0.9, 0.004);
  Rng rng(102);
  for (int k = 0; k < 14; ++k) {
    double t = rng.range(0.05, 1.1);
    noise(b, t, 0.05, 0.5 * (1.2 - t), [](double) { return 7000.0; }, 200 + k, 0.001);
  }
  noise(b, 0.25, 0.9, 0.6, [](double t) { return 1500.0 * std::exp(-t * 2) + 100; }, 103, 0.05);
  return b;
}

}  // namespace

bool write_sounds(const std::string& dir) {
  const std::function<Buffer()> effects[10] = {cursor_tick, command_accepted, chip_arrived, quit_chime, fanfare,
                                               hit_lands,   enemy_attacks,    spare_pop,    refusal_buzz, enemy_falls};
  bool ok = true;
  for (int i = 0; i < 10; ++i) ok &= write_wav(dir + "/se" + std::to_string(i + 1) + ".wav", finish(effects[i]()));
  return ok;
}

}  // namespace paint
