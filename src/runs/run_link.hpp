// A recorded run as a link: the page's address with the key script in its fragment,
// "#run=1." then base64url (no padding) of the script's canonical text, raw-deflated, and
// the CRC-32 of that text (4 bytes, little-endian). "1" names the format; the CRC tells a
// damaged link from a good one. The desktop, the replay tool and the web program all read
// and write links through here, so a link means the same game everywhere.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "runs/key_script.hpp"

namespace sc {

// Longest link read, in characters, and most text a link may inflate to: a whole game's
// script is a few KB, so anything near these is not a recording.
constexpr std::size_t kLinkMaxChars = 64 * 1024;
constexpr std::size_t kLinkMaxText = 1024 * 1024;

// The script as one text: a "seed N" line if it has a seed, then "TICK KEY" per key in the
// script's order, '\n' line ends, no comments.
std::string canonical_key_script(const KeyScript& script);
// The fragment "#run=1.…" of a script.
std::string run_link(const KeyScript& script);
// The same of any text, key script or not, and the base64url (no padding) of any bytes: the
// link's parts, for making links of anything (the fuzzer does).
std::string run_link_of_text(const std::string& text);
std::string base64url(const std::string& bytes);

// Whether `text` (blanks around it aside) is meant as a link: it begins with "#run=" or
// "run=", or holds "#run=" and is no key script's comment (which begins with '#').
bool looks_like_run_link(std::string_view text);
// Reads a link given as a whole address (any text holding "#run="), its fragment "#run=…" or
// "run=…", blanks and line ends around it allowed. False with one line in `error` when it is
// not a link, is cut short, damaged, of another format, too long, or holds no key script.
bool decode_run_link(std::string_view text, KeyScript& script, std::string& error);

// What --play and --keys take: a key script file, a file holding a link, or a link itself
// (when no file has that name). The error is one line, naming the file if there is one.
bool read_recording(const std::string& source, KeyScript& script, std::string& error);

}  // namespace sc
