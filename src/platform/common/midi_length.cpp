#include "platform/common/midi_length.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace sc {

namespace {

constexpr std::size_t kMostRead = 64u << 20;

struct Tempo {
    std::uint64_t tick;
    std::uint32_t micros_a_beat;
};

// One track's events, up to its end of track (or its chunk's end).
class TrackReader {
public:
    explicit TrackReader(std::string_view data) : data_(data) {}

    // False when an event is cut short or makes no sense; `end` is then meaningless.
    bool read(std::vector<Tempo>& tempi, std::uint64_t& end) {
        std::uint8_t running = 0;
        std::uint64_t tick = 0;
        while (at_ < data_.size()) {
            std::uint32_t delta = 0;
            if (!number(delta)) { return false; }
            tick += delta;
            std::uint8_t status = 0;
            if (!byte(status)) { return false; }
            if (status < 0x80) {  // running status: the byte was the first data byte
                if (running == 0) { return false; }
                --at_;
                status = running;
            }
            if (status < 0xF0) {
                running = status;  // meta and system exclusive events leave it as it was
                if (!skip((status & 0xE0) == 0xC0 ? 1 : 2)) { return false; }
            } else if (status == 0xF0 || status == 0xF7) {
                std::uint32_t length = 0;
                if (!number(length) || !skip(length)) { return false; }
            } else if (status == 0xFF) {
                std::uint8_t type = 0;
                std::uint32_t length = 0;
                if (!byte(type) || !number(length) || length > data_.size() - at_) { return false; }
                const auto* d = reinterpret_cast<const std::uint8_t*>(data_.data() + at_);
                if (type == 0x51 && length == 3) { tempi.push_back({tick, std::uint32_t(d[0] << 16 | d[1] << 8 | d[2])}); }
                at_ += length;
                if (type == 0x2F) { break; }  // end of track
            } else {
                return false;  // no other status belongs in a file
            }
        }
        end = tick;
        return true;
    }

private:
    bool byte(std::uint8_t& b) {
        if (at_ >= data_.size()) { return false; }
        b = static_cast<std::uint8_t>(data_[at_++]);
        return true;
    }
    bool skip(std::size_t n) {
        if (n > data_.size() - at_) { return false; }
        at_ += n;
        return true;
    }
    // A variable-length quantity: at most four bytes, seven bits each.
    bool number(std::uint32_t& v) {
        v = 0;
        for (int k = 0; k < 4; ++k) {
            std::uint8_t b = 0;
            if (!byte(b)) { return false; }
            v = v << 7 | (b & 0x7F);
            if (b < 0x80) { return true; }
        }
        return false;
    }

    std::string_view data_;
    std::size_t at_ = 0;
};

std::uint32_t big_endian(std::string_view bytes, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int k = 0; k < n; ++k) { v = v << 8 | static_cast<std::uint8_t>(bytes[at + std::size_t(k)]); }
    return v;
}

}  // namespace

MidiShape read_midi(std::string_view bytes) {
    MidiShape shape;
    if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd" || big_endian(bytes, 4, 4) < 6) { return shape; }
    const std::uint32_t tracks = big_endian(bytes, 10, 2);
    const std::uint32_t division = big_endian(bytes, 12, 2);
    bool readable = division > 0 && division < 0x8000;  // ticks a beat; not SMPTE frames
    std::vector<Tempo> tempi;
    std::uint64_t last = 0;
    std::uint32_t found = 0;
    for (std::size_t at = 8 + std::size_t(big_endian(bytes, 4, 4)); at + 8 <= bytes.size() && found < tracks;) {
        const std::uint32_t length = big_endian(bytes, at + 4, 4);
        if (length > bytes.size() - at - 8) { return shape; }  // cut short
        if (bytes.substr(at, 4) == "MTrk") {
            ++found;
            std::uint64_t end = 0;
            readable = readable && TrackReader(bytes.substr(at + 8, length)).read(tempi, end);
            last = std::max(last, end);
        }
        at += 8 + length;
    }
    shape.whole = tracks > 0 && found == tracks;
    if (!shape.whole || !readable) { return shape; }
    // Tracks in their order at the same tick: the last one's tempo holds.
    std::stable_sort(tempi.begin(), tempi.end(), [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
    double micros = 0;
    std::uint64_t tick = 0;
    std::uint32_t tempo = 500000;  // 120 beats a minute until the file says otherwise
    for (const Tempo& t : tempi) {
        micros += double(t.tick - tick) * tempo;
        tick = t.tick;
        tempo = t.micros_a_beat;
    }
    micros += double(last - tick) * tempo;
    shape.seconds = micros / division / 1e6;
    return shape;
}

MidiShape read_midi_file(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) { return {}; }
    std::string bytes;
    char buf[65536];
    for (std::size_t n; bytes.size() < kMostRead && (n = std::fread(buf, 1, sizeof buf, f)) > 0;) { bytes.append(buf, n); }
    std::fclose(f);
    return read_midi(bytes);
}

}  // namespace sc
