// Fuzzes what reads a recording: the key-script parser and the run's link. The bytes are read
// as a script, as a link, as a link whose data they are (so inflating and the check are
// reached), and deflated into a link with its right check. Each gives keys or one line of
// error; a link that reads gives the same keys as the script it holds, and back again.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "runs/key_script.hpp"
#include "runs/run_link.hpp"

namespace {

void check_keys(const std::vector<sc::ScriptKey>& keys) {
    for (const auto& k : keys) {
        if (k.tick < 0 || k.code < 1 || k.code > 255) { std::abort(); }
    }
}

bool same_keys(const sc::KeyScript& a, const sc::KeyScript& b) {
    if (a.seed != b.seed || a.keys.size() != b.keys.size()) { return false; }
    for (std::size_t i = 0; i < a.keys.size(); ++i) {
        if (a.keys[i].tick != b.keys[i].tick || a.keys[i].code != b.keys[i].code) { return false; }
    }
    return true;
}

// Reads a link: keys or exactly one line of error; what reads makes a link that reads the same.
bool read_link(const std::string& link, sc::KeyScript& script) {
    std::string error;
    const bool ok = sc::decode_run_link(link, script, error);
    if (ok != error.empty() || error.find('\n') != std::string::npos) { std::abort(); }
    if (!ok) { return false; }
    check_keys(script.keys);
    sc::KeyScript again;
    if (!sc::decode_run_link(sc::run_link(script), again, error) || !same_keys(script, again)) { std::abort(); }
    return true;
}

std::string base64url(const std::string& bytes) {
    static const char a[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    std::uint32_t bits = 0;
    int held = 0;
    for (const char c : bytes) {
        bits = (bits << 8) | static_cast<unsigned char>(c);
        held += 8;
        while (held >= 6) {
            held -= 6;
            out += a[(bits >> held) & 63];
        }
    }
    if (held > 0) { out += a[(bits << (6 - held)) & 63]; }
    return out;
}

std::string deflated_with_check(const std::string& text) {
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) { std::abort(); }
    std::string out(deflateBound(&zs, uLong(text.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    zs.avail_in = uInt(text.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = uInt(out.size());
    if (deflate(&zs, Z_FINISH) != Z_STREAM_END) { std::abort(); }
    out.resize(out.size() - zs.avail_out);
    deflateEnd(&zs);
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(text.data()), uInt(text.size()));
    for (int i = 0; i < 4; ++i) { out += char((crc >> (8 * i)) & 0xff); }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    sc::KeyScript script;
    std::string error;
    const bool parsed = sc::parse_key_script(input, script, error);
    if (parsed != error.empty()) { std::abort(); }
    check_keys(script.keys);

    sc::KeyScript from_link;
    read_link(input, from_link);
    read_link("#run=1." + base64url(input), from_link);
    // The bytes as the text a good link holds: it reads exactly when they are a key script
    // (short of the limits, which a few KB is far from).
    sc::KeyScript held;
    const bool read = read_link("https://example.org/?lang=en#run=1." + base64url(deflated_with_check(input)), held);
    if (size <= 16384 && (read != parsed || (parsed && !same_keys(script, held)))) { std::abort(); }
    return 0;
}
