// The music: a small standard MIDI file writer and the two pieces, the battle
// theme (bg1) and a calm piece (bg0).
#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "paint.hpp"

namespace paint {

namespace {

constexpr int kPpq = 480;
constexpr int kEighth = kPpq / 2;

struct Event {
  long tick;
  int order;  // note-offs before note-ons at the same tick
  std::vector<std::uint8_t> bytes;
};

class Track {
 public:
  explicit Track(std::string name) : name_(std::move(name)) {}
  void raw(long tick, int order, std::vector<std::uint8_t> bytes) { events_.push_back({tick, order, std::move(bytes)}); }
  void note(int ch, long start, long length, int pitch, int velocity) {
    raw(start, 2, {std::uint8_t(0x90 | ch), std::uint8_t(pitch), std::uint8_t(velocity)});
    raw(start + length, 0, {std::uint8_t(0x80 | ch), std::uint8_t(pitch), 0});
  }
  void program(int ch, long tick, int program) { raw(tick, 1, {std::uint8_t(0xC0 | ch), std::uint8_t(program)}); }
  void control(int ch, long tick, int controller, int value) {
    raw(tick, 1, {std::uint8_t(0xB0 | ch), std::uint8_t(controller), std::uint8_t(value)});
  }
  void meta(long tick, int type, std::vector<std::uint8_t> data) {
    std::vector<std::uint8_t> b{0xFF, std::uint8_t(type)};
    append_varlen(b, data.size());
    b.insert(b.end(), data.begin(), data.end());
    raw(tick, 1, std::move(b));
  }
  long last_tick() const {
    long t = 0;
    for (const Event& e : events_) t = std::max(t, e.tick);
    return t;
  }
  std::vector<std::uint8_t> chunk(long end_tick) const {
    std::vector<Event> ev = events_;
    std::stable_sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    // track name first
    body.push_back(0);
    body.push_back(0xFF);
    body.push_back(0x03);
    append_varlen(body, name_.size());
    body.insert(body.end(), name_.begin(), name_.end());
    long now = 0;
    for (const Event& e : ev) {
      append_varlen(body, std::size_t(e.tick - now));
      now = e.tick;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    append_varlen(body, std::size_t(std::max(0L, end_tick - now)));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> out{'M', 'T', 'r', 'k'};
    append_u32(out, std::uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
  }
  static void append_varlen(std::vector<std::uint8_t>& b, std::size_t v) {
    std::uint8_t tmp[5];
    int n = 0;
    tmp[n++] = v & 0x7F;
    while (v >>= 7) tmp[n++] = std::uint8_t(0x80 | (v & 0x7F));
    while (n) b.push_back(tmp[--n]);
  }
  static void append_u32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(std::uint8_t(v >> s));
  }

 private:
  std::string name_;
  std::vector<Event> events_;
};

bool write_midi(const std::string& path, const std::vector<Track>& tracks, long end_tick) {
  std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  out.push_back(std::uint8_t(tracks.size() >> 8));
  out.push_back(std::uint8_t(tracks.size()));
  out.push_back(std::uint8_t(kPpq >> 8));
  out.push_back(std::uint8_t(kPpq & 0xFF));
  for (const Track& t : tracks) {
    auto c = t.chunk(end_tick);
    out.insert(out.end(), c.begin(), c.end());
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

// "E5:2 A5 r:2 C#6:4": pitch names with lengths in eighths (1 when left out).
struct Note {
  int pitch;  // -1 rest
  int eighths;
};

std::vector<Note> parse(const std::string& text) {
  std::vector<Note> out;
  std::istringstream in(text);
  std::string word;
  static const std::map<char, int> base{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
  while (in >> word) {
    int len = 1;
    auto colon = word.find(':');
    if (colon != std::string::npos) {
      len = std::stoi(word.substr(colon + 1));
      word = word.substr(0, colon);
    }
    if (word == "r") {
      out.push_back({-1, len});
      continue;
    }
    int p = base.at(word[0]);
    std::size_t i = 1;
    if (word[i] == '#') ++p, ++i;
    if (word[i] == 'b') --p, ++i;
    int octave = std::stoi(word.substr(i));
    out.push_back({12 * (octave + 1) + p, len});
  }
  return out;
}

// Lays a phrase from `start`; returns the tick after it.
long phrase(Track& t, int ch, long start, const std::string& text, int velocity, int transpose = 0, double legato = 0.92) {
  long now = start;
  int k = 0;
  for (const Note& n : parse(text)) {
    long len = long(n.eighths) * kEighth;
    if (n.pitch >= 0) {
      int accent = (now % (2 * kEighth) == 0) ? 8 : 0;
      t.note(ch, now, long(len * legato), n.pitch + transpose, std::min(127, velocity + accent - (k % 3 == 2 ? 6 : 0)));
    }
    now += len;
    ++k;
  }
  return now;
}

struct Chord {
  int root;  // bass pitch, octave 2
  int third, fifth;  // semitones above the root
};

Chord chord(const std::string& name) {
  static const std::map<std::string, Chord> table{
      {"Am", {45, 3, 7}}, {"F", {41, 4, 7}}, {"G", {43, 4, 7}}, {"Em", {40, 3, 7}}, {"E", {40, 4, 7}},
      {"Dm", {38, 3, 7}}, {"C", {36, 4, 7}}, {"Em7", {40, 3, 7}}};
  return table.at(name);
}

// ------------------------------------------------------------ the battle theme

bool battle_theme(const std::string& path) {
  const long bar = 8 * kEighth;
  Track conductor("Seven Chips battle"), lead("lead"), strings("strings"), arp("arpeggio"), bass("bass"), drums("drums");
  conductor.meta(0, 0x51, {0x06, 0x1A, 0x80});  // 400000 us a beat: 150 beats a minute
  conductor.meta(0, 0x58, {4, 2, 24, 8});
  conductor.meta(0, 0x59, {0, 0});
  const int kLead = 0, kStrings = 1, kArp = 2, kBass = 3, kDrums = 9;
  lead.program(kLead, 0, 80);       // square lead
  strings.program(kStrings, 0, 48);  // string ensemble
  arp.program(kArp, 0, 81);         // saw lead, quiet
  bass.program(kBass, 0, 38);       // synth bass
  for (auto [t, ch, vol, pan] : {std::tuple{&lead, kLead, 100, 64}, std::tuple{&strings, kStrings, 80, 44},
                                 std::tuple{&arp, kArp, 58, 88}, std::tuple{&bass, kBass, 104, 64},
                                 std::tuple{&drums, kDrums, 100, 64}}) {
    t->control(ch, 0, 7, vol);
    t->control(ch, 0, 10, pan);
    t->control(ch, 0, 91, 40);
  }

  const std::vector<std::string> intro{"Am", "Am", "F", "G"};
  const std::vector<std::string> verse{"Am", "F", "G", "Em", "Am", "F", "G", "E"};
  const std::vector<std::string> chorus{"F", "G", "Am", "Am", "Dm", "G", "C", "E"};
  const std::string melody_a =
      "E5:2 A5:2 B5 C6 B5 A5  C6:3 A5 F5:2 A5:2  B5:2 G5 D5 G5:2 B5 D6  E6:4 D6 B5 G5:2 "
      "A5 A5 C6 E6 D6 C6 B5 A5  C6:2 F6:2 E6 D6 C6:2  D6:2 B5 G5 D6:2 E6 F6  E6:3 D6 B5 G#5 E5:2";
  const std::string melody_b =
      "A5:2 C6:2 F6:3 E6  D6:2 B5:2 G5:3 A5  C6:2 E6:2 A6:4  G6 E6 C6 E6 A6:4 "
      "F6:2 E6 D6 A5:2 D6:2  B5:2 D6 G6 F6:2 D6:2  E6:2 G6:2 C6:2 E6:2  B5:2 G#5:2 E6:4";

  struct Section {
    const std::vector<std::string>* chords;
    const std::string* melody;
    bool arpeggio;
  };
  const Section form[] = {{&intro, nullptr, true},   {&verse, &melody_a, false}, {&verse, &melody_a, true},
                          {&chorus, &melody_b, true}, {&verse, &melody_a, true},  {&chorus, &melody_b, true}};
  long now = 0;
  for (const Section& s : form) {
    long start = now;
    if (s.melody) phrase(lead, kLead, start, *s.melody, 96, -12);
    for (std::size_t b = 0; b < s.chords->size(); ++b) {
      Chord c = chord((*s.chords)[b]);
      long t0 = start + long(b) * bar;
      int r = c.root + 12;  // strings an octave above the bass
      for (int p : {r, r + c.third, r + c.fifth, r + 12}) strings.note(kStrings, t0, bar - 20, p, 58);
      // bass: driving eighths with an octave kick
      for (int e = 0; e < 8; ++e) {
        int p = (e == 2 || e == 6) ? c.root + 12 : c.root;
        bass.note(kBass, t0 + e * kEighth, kEighth - 30, p, e % 2 == 0 ? 104 : 86);
      }
      if (s.arpeggio) {
        const int shape[8] = {0, 1, 2, 3, 2, 1, 2, 3};
        int tones[4] = {r + 12, r + 12 + c.third, r + 12 + c.fifth, r + 24};
        for (int k = 0; k < 16; ++k) arp.note(kArp, t0 + k * kEighth / 2, kEighth / 2 - 10, tones[shape[k % 8]], k % 4 == 0 ? 62 : 48);
      }
      // drums
      bool last = b + 1 == s.chords->size();
      if (b == 0) drums.note(kDrums, t0, kEighth, 49, 110);
      for (int e = 0; e < 8; ++e) {
        long t = t0 + e * kEighth;
        if (last && e >= 4) {
          const int toms[4] = {38, 50, 47, 45};
          for (int half = 0; half < 2; ++half)
            drums.note(kDrums, t + half * kEighth / 2, kEighth / 2, toms[e - 4], 90 + half * 12);
          continue;
        }
        if (e == 0 || e == 3 || e == 4) drums.note(kDrums, t, kEighth, 36, 112);
        if (e == 2 || e == 6) drums.note(kDrums, t, kEighth, 38, 104);
        if (!(b == 0 && e == 0)) drums.note(kDrums, t, kEighth / 2, e == 7 ? 46 : 42, e % 2 == 0 ? 76 : 58);
      }
    }
    now = start + long(s.chords->size()) * bar;
  }
  // final chord: two bars of A minor held, then everything off
  lead.note(kLead, now, 2 * bar - kEighth, 69, 100);
  lead.note(kLead, now, 2 * bar - kEighth, 64, 80);
  for (int p : {57, 60, 64, 69}) strings.note(kStrings, now, 2 * bar - kEighth, p, 70);
  bass.note(kBass, now, 2 * bar - kEighth, 33, 110);
  bass.note(kBass, now, 2 * bar - kEighth, 45, 96);
  drums.note(kDrums, now, kEighth, 49, 120);
  drums.note(kDrums, now, kEighth, 36, 120);
  drums.note(kDrums, now, kEighth, 57, 100);
  long end = now + 2 * bar;
  // The chord's release has faded below hearing a beat and a half after the bar line. What
  // still rings then does so unheard, the crash cymbals for five seconds more, and a player
  // that waits for its last voice would go on playing silence: so it is stopped there, and the
  // piece ends with it.
  const long silent = end + 3 * kPpq / 2;
  for (auto [t, ch] : {std::pair{&lead, kLead}, std::pair{&strings, kStrings}, std::pair{&arp, kArp},
                       std::pair{&bass, kBass}, std::pair{&drums, kDrums}}) {
    t->control(ch, end, 64, 0);      // sustain off
    t->control(ch, end, 123, 0);     // all notes off
    t->control(ch, silent, 120, 0);  // all sound off
  }
  return write_midi(path, {conductor, lead, strings, arp, bass, drums}, silent);
}

// ------------------------------------------------------------ a calm piece

bool calm_piece(const std::string& path) {
  const long bar = 8 * kEighth;
  Track conductor("Seven Chips calm"), piano("piano"), pad("pad"), bass("bass");
  conductor.meta(0, 0x51, {0x0A, 0x2C, 0x2B});  // 666667 us a beat: 90 beats a minute
  conductor.meta(0, 0x58, {4, 2, 24, 8});
  piano.program(0, 0, 0);
  pad.program(1, 0, 89);  // warm pad
  bass.program(2, 0, 32);  // acoustic bass
  pad.control(1, 0, 7, 70);
  bass.control(2, 0, 7, 90);
  const std::vector<std::string> chords{"C", "Am", "F", "G", "C", "Am", "F", "G", "F", "G", "Em", "Am", "F", "G", "C", "C"};
  const std::string melody =
      "E5:2 G5:2 C6:3 B5  A5:4 E5:4  F5:2 A5:2 C6:2 A5:2  G5:6 r:2 "
      "E5:2 G5:2 C6:3 D6  E6:4 C6:4  A5:2 C6:2 F6:2 E6:2  D6:6 r:2 "
      "C6:2 A5:2 F5:4  D6:2 B5:2 G5:4  G5:2 B5:2 E6:4  C6:3 B5 A5:4 "
      "A5:2 C6:2 F6:2 E6:2  D6:2 B5:2 G5:2 D6:2  C6:8  r:8";
  phrase(piano, 0, 0, melody, 78, 0, 0.98);
  for (std::size_t b = 0; b < chords.size(); ++b) {
    Chord c = chord(chords[b]);
    long t0 = long(b) * bar;
    int r = c.root + 24;
    for (int p : {r, r + c.third, r + c.fifth}) pad.note(1, t0, bar - 10, p, 50);
    bass.note(2, t0, 3 * kEighth, c.root, 80);
    bass.note(2, t0 + 4 * kEighth, 3 * kEighth, c.root + 7, 70);
    // broken chord in the piano's left hand
    const int order[4] = {0, 2, 1, 2};
    for (int q = 0; q < 4; ++q) {
      int tones[3] = {c.root + 12, c.root + 12 + c.third, c.root + 12 + c.fifth};
      piano.note(0, t0 + q * 2 * kEighth, 2 * kEighth - 10, tones[order[q]], 54);
    }
  }
  long end = long(chords.size()) * bar;
  for (auto [t, ch] : {std::pair{&piano, 0}, std::pair{&pad, 1}, std::pair{&bass, 2}}) t->control(ch, end, 123, 0);
  return write_midi(path, {conductor, piano, pad, bass}, end);
}

}  // namespace

bool write_music(const std::string& dir) {
  bool ok = battle_theme(dir + "/bg1.mid");
  ok &= calm_piece(dir + "/bg0.mid");
  return ok;
}

}  // namespace paint
