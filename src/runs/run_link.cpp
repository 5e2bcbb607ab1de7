#include "runs/run_link.hpp"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace sc {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr std::string_view kFormat = "1";

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && blank(s.front())) { s.remove_prefix(1); }
    while (!s.empty() && blank(s.back())) { s.remove_suffix(1); }
    return s;
}

// A character of a link as a message names it.
std::string named(char c) {
    if (c == '\n' || c == '\r') { return "a line break"; }
    if (c == ' ' || c == '\t') { return "a blank"; }
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f) { return std::string("'") + c + "'"; }
    static const char hex[] = "0123456789abcdef";
    return std::string("byte \\x") + hex[u >> 4] + hex[u & 15];
}

// A piece of a link shown in a message: printable ASCII only, cut short.
std::string shown(std::string_view s) {
    std::string out;
    for (const char c : s.substr(0, 16)) {
        const unsigned char u = static_cast<unsigned char>(c);
        out += u >= 0x20 && u < 0x7f ? c : '?';
    }
    if (s.size() > 16) { out += "..."; }
    return out;
}

std::string to_base64url(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() * 4 + 2) / 3);
    std::uint32_t bits = 0;
    int held = 0;
    for (const char c : bytes) {
        bits = (bits << 8) | static_cast<unsigned char>(c);
        held += 8;
        while (held >= 6) {
            held -= 6;
            out += kAlphabet[(bits >> held) & 63];
        }
    }
    if (held > 0) { out += kAlphabet[(bits << (6 - held)) & 63]; }
    return out;
}

int alphabet_value(char c) {
    if (c >= 'A' && c <= 'Z') { return c - 'A'; }
    if (c >= 'a' && c <= 'z') { return c - 'a' + 26; }
    if (c >= '0' && c <= '9') { return c - '0' + 52; }
    if (c == '-') { return 62; }
    if (c == '_') { return 63; }
    return -1;
}

std::string crc_bytes(const std::string& text) {
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(text.data()), uInt(text.size()));
    std::string out;
    for (int i = 0; i < 4; ++i) { out += char((crc >> (8 * i)) & 0xff); }
    return out;
}

// Inflates raw deflate data into at most kLinkMaxText bytes, stopping as soon as it would
// give more. `rest` is what follows the end of the deflate stream.
bool inflate_bounded(const std::string& in, std::string& out, std::size_t& rest, std::string& error) {
    z_stream zs{};
    if (inflateInit2(&zs, -15) != Z_OK) {
        error = "the link cannot be read: no memory to inflate it";
        return false;
    }
    struct End { z_stream& z; ~End() { inflateEnd(&z); } } end{zs};
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = uInt(in.size());
    constexpr std::size_t kChunk = 64 * 1024;
    for (;;) {
        const std::size_t room = std::min(kChunk, kLinkMaxText + 1 - out.size());
        if (room == 0) {
            error = "the link's recording is larger than 1 MiB, far more than a game's";
            return false;
        }
        const std::size_t had = out.size();
        out.resize(had + room);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + had);
        zs.avail_out = uInt(room);
        const int rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(had + room - zs.avail_out);
        if (rc == Z_STREAM_END) { break; }
        if (rc == Z_OK) { continue; }
        if (rc == Z_BUF_ERROR && zs.avail_in == 0) {
            error = "the link is cut short: its recording ends early";
            return false;
        }
        if (rc == Z_BUF_ERROR) { continue; }  // the output was full: more room
        if (rc == Z_MEM_ERROR) {
            error = "the link cannot be read: no memory to inflate it";
        } else {
            error = std::string("the link is damaged: its recording does not inflate (") +
                    (zs.msg != nullptr ? zs.msg : "bad data") + ")";
        }
        return false;
    }
    if (out.size() > kLinkMaxText) {
        error = "the link's recording is larger than 1 MiB, far more than a game's";
        return false;
    }
    rest = zs.avail_in;
    return true;
}

}  // namespace

std::string canonical_key_script(const KeyScript& script) {
    std::string text;
    if (script.seed) { text += "seed " + std::to_string(*script.seed) + "\n"; }
    for (const ScriptKey& k : script.keys) { text += std::to_string(k.tick) + " " + key_name(k.code) + "\n"; }
    return text;
}

std::string run_link(const KeyScript& script) { return run_link_of_text(canonical_key_script(script)); }

std::string base64url(const std::string& bytes) { return to_base64url(bytes); }

std::string run_link_of_text(const std::string& text) {
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) { return {}; }
    std::string packed(deflateBound(&zs, uLong(text.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    zs.avail_in = uInt(text.size());
    zs.next_out = reinterpret_cast<Bytef*>(packed.data());
    zs.avail_out = uInt(packed.size());
    const int rc = deflate(&zs, Z_FINISH);
    packed.resize(packed.size() - zs.avail_out);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END) { return {}; }
    return "#run=" + std::string(kFormat) + "." + to_base64url(packed + crc_bytes(text));
}

bool looks_like_run_link(std::string_view text) {
    text = trimmed(text);
    // A key script's comment may name a link; only the fragment itself begins with '#'.
    return text.substr(0, 5) == "#run=" || text.substr(0, 4) == "run=" ||
           (text.substr(0, 1) != "#" && text.find("#run=") != std::string_view::npos);
}

bool decode_run_link(std::string_view text, KeyScript& script, std::string& error) {
    const std::string_view link = trimmed(text);
    if (link.size() > kLinkMaxChars) {
        error = "the link is too long: " + std::to_string(link.size()) + " characters, at most " +
                std::to_string(kLinkMaxChars);
        return false;
    }
    std::string_view payload;
    if (const auto at = link.find("#run="); at != std::string_view::npos) {
        payload = link.substr(at + 5);
    } else if (link.substr(0, 4) == "run=") {
        payload = link.substr(4);
    } else {
        error = "not a link to a run: it holds no '#run='";
        return false;
    }
    const auto dot = payload.find('.');
    if (dot == std::string_view::npos && kFormat.substr(0, payload.size()) == payload) {
        error = "the link is cut short: it ends before its recording";
        return false;
    }
    const std::string_view format = payload.substr(0, dot);
    if (format != kFormat) {
        error = "the link's format '" + shown(format) + "' is not one this version reads";
        return false;
    }
    const std::string_view data = payload.substr(dot + 1);
    std::string bytes;
    bytes.reserve(data.size() * 3 / 4);
    std::uint32_t bits = 0;
    int held = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const int v = alphabet_value(data[i]);
        if (v < 0) {
            const std::size_t where = std::size_t(data.data() - link.data()) + i + 1;
            error = "the link is damaged: " + named(data[i]) + " at its character " + std::to_string(where) +
                    " is not a link's character";
            return false;
        }
        bits = (bits << 6) | std::uint32_t(v);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += char((bits >> held) & 0xff);
        }
    }
    if (data.size() % 4 == 1) {
        error = "the link is cut short: a stray character at its end";
        return false;
    }
    std::string keys;
    std::size_t rest = 0;
    if (!inflate_bounded(bytes, keys, rest, error)) { return false; }
    if (rest < 4) {
        error = "the link is cut short: its check is missing";
        return false;
    }
    if (rest > 4) {
        error = "the link is damaged: " + std::to_string(rest - 4) + (rest == 5 ? " stray byte" : " stray bytes") + " after its check";
        return false;
    }
    if (bytes.compare(bytes.size() - 4, 4, crc_bytes(keys)) != 0) {
        error = "the link is damaged: its check does not match its recording";
        return false;
    }
    KeyScript parsed;
    if (!parse_key_script(keys, parsed, error)) {
        error = "the link's key script is bad: " + error;
        return false;
    }
    script = std::move(parsed);
    return true;
}

bool read_recording(const std::string& source, KeyScript& script, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec) && looks_like_run_link(source)) {
        return decode_run_link(source, script, error);
    }
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        error = "cannot read key script " + source;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    // A file whose first line (after blank ones) is a link holds a link, not a script.
    std::string_view first = trimmed(content);
    first = first.substr(0, first.find('\n'));
    const bool ok = looks_like_run_link(first) ? decode_run_link(content, script, error)
                                               : parse_key_script(content, script, error);
    if (!ok) { error = source + ": " + error; }
    return ok;
}

}  // namespace sc
