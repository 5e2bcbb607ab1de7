// The game's words in another language: a GNU message catalogue (.mo) built into the program
// and looked up only where text is drawn. The game's own Japanese texts are the keys, so the
// state, the tables and the trace never change with the language.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

class Catalogue {
public:
    // Reads the bytes of a .mo file (either byte order). Entries whose place in the file is
    // damaged are left out; a file that is no catalogue at all gives none.
    explicit Catalogue(std::string_view mo);
    // The translation of `text`, or null when it has none (numbers, shared Latin texts).
    const std::string* find(std::string_view text) const;
    // Every text with a translation.
    std::vector<std::string> sources() const;
    std::size_t size() const { return entries_.size(); }

private:
    std::map<std::string, std::string, std::less<>> entries_;
};

// The languages the program speaks: "ja" (the game's own, the default) and then each one
// built in.
std::vector<std::string> languages();
bool known_language(std::string_view language);
// The built-in catalogue of a language; null for "ja" (its texts are drawn as they are) and
// for a language the program does not know.
const Catalogue* find_catalogue(std::string_view language);
// The language of a catalogue find_catalogue gave: "ja" for null.
std::string_view language_of(const Catalogue* catalogue);
// One line for an unknown language, without the program's name: "unknown language 'xx' (ja, en)".
std::string unknown_language(std::string_view language);

}  // namespace sc
