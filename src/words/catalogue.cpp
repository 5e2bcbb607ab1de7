// The GNU .mo reader: a header of 32-bit words (magic, revision, count, the offsets of the
// source and translation tables), each table `count` pairs of (length, offset).
#include "words/catalogue.hpp"

#include <cstdint>

namespace sc {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;

class MoFile {
public:
    explicit MoFile(std::string_view bytes) : bytes_(bytes) {}

    // The magic in either byte order decides how every later word is read.
    bool start() {
        std::uint32_t magic = 0;
        if (!word(0, magic)) { return false; }
        if (magic != kMagic) {
            swapped_ = true;
            word(0, magic);
        }
        return magic == kMagic;
    }

    bool word(std::size_t at, std::uint32_t& out) const {
        if (at > bytes_.size() || bytes_.size() - at < 4) { return false; }
        const auto b = [&](std::size_t k) { return std::uint32_t(static_cast<unsigned char>(bytes_[at + k])); };
        out = swapped_ ? b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3) : b(3) << 24 | b(2) << 16 | b(1) << 8 | b(0);
        return true;
    }

    // String `i` of the table at `table`: it must lie inside the file and end in its NUL.
    // A plural entry keeps its first form.
    bool text(std::uint32_t table, std::uint32_t i, std::string_view& out) const {
        std::uint32_t length = 0, offset = 0;
        const std::size_t at = std::size_t(table) + 8 * std::size_t(i);
        if (!word(at, length) || !word(at + 4, offset)) { return false; }
        if (offset > bytes_.size() || bytes_.size() - offset <= length || bytes_[offset + length] != '\0') { return false; }
        out = bytes_.substr(offset, length);
        out = out.substr(0, out.find('\0'));
        return true;
    }

private:
    std::string_view bytes_;
    bool swapped_ = false;
};

}  // namespace

Catalogue::Catalogue(std::string_view mo) {
    MoFile file(mo);
    std::uint32_t count = 0, sources = 0, translations = 0;
    if (!file.start() || !file.word(8, count) || !file.word(12, sources) || !file.word(16, translations)) { return; }
    // Tables that would run past the end mean a damaged header: nothing in it can be trusted.
    const auto fits = [&](std::uint32_t table) { return table <= mo.size() && (mo.size() - table) / 8 >= count; };
    if (!fits(sources) || !fits(translations)) { return; }
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string_view source, translation;
        if (!file.text(sources, i, source) || !file.text(translations, i, translation)) { continue; }
        // The empty source is the catalogue's own header, never a text of the game.
        if (source.empty() || translation.empty()) { continue; }
        entries_.emplace(source, translation);
    }
}

const std::string* Catalogue::find(std::string_view text) const {
    const auto it = entries_.find(text);
    return it == entries_.end() ? nullptr : &it->second;
}

std::vector<std::string> Catalogue::sources() const {
    std::vector<std::string> out;
    for (const auto& entry : entries_) { out.push_back(entry.first); }
    return out;
}

}  // namespace sc
