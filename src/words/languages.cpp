// The languages built into the program. Each catalogue is read once, on first use.
#include <memory>
#include <string_view>

#include "words/built_in.hpp"
#include "words/catalogue.hpp"

namespace sc {

namespace {

constexpr std::string_view kOwnLanguage = "ja";

const CatalogueFile* built_in(std::string_view language) {
    for (const CatalogueFile* f = kCatalogueFiles; f->name != nullptr; ++f) {
        if (language == f->name) { return f; }
    }
    return nullptr;
}

}  // namespace

std::vector<std::string> languages() {
    std::vector<std::string> out{std::string(kOwnLanguage)};
    for (const CatalogueFile* f = kCatalogueFiles; f->name != nullptr; ++f) { out.emplace_back(f->name); }
    return out;
}

bool known_language(std::string_view language) { return language == kOwnLanguage || built_in(language) != nullptr; }

const Catalogue* find_catalogue(std::string_view language) {
    const CatalogueFile* file = built_in(language);
    if (file == nullptr) { return nullptr; }
    // One catalogue per built-in file, kept for the program's life; a second thread asking
    // meanwhile waits for the first.
    static const auto read = [] {
        std::vector<std::unique_ptr<Catalogue>> all;
        for (const CatalogueFile* f = kCatalogueFiles; f->name != nullptr; ++f) {
            all.push_back(std::make_unique<Catalogue>(
                std::string_view(reinterpret_cast<const char*>(f->data), f->size)));
        }
        return all;
    }();
    return read[std::size_t(file - kCatalogueFiles)].get();
}

std::string_view language_of(const Catalogue* catalogue) {
    for (const CatalogueFile* f = kCatalogueFiles; catalogue != nullptr && f->name != nullptr; ++f) {
        if (find_catalogue(f->name) == catalogue) { return f->name; }
    }
    return kOwnLanguage;
}

std::string unknown_language(std::string_view language) {
    std::string known;
    for (const std::string& l : languages()) { known += (known.empty() ? "" : ", ") + l; }
    // What was typed is shown as it was, but a control byte or other odd byte as \xNN, so
    // the line stays one readable line.
    std::string shown;
    for (const char c : language.substr(0, 40)) {
        if (c > 0x1f && c < 0x7f) {
            shown += c;
        } else {
            static constexpr char kHex[] = "0123456789abcdef";
            const auto b = static_cast<unsigned char>(c);
            shown += {'\\', 'x', kHex[b >> 4], kHex[b & 15]};
        }
    }
    return "unknown language '" + shown + "' (" + known + ")";
}

}  // namespace sc
