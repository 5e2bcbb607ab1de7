// The English edition: the catalogue's reader, every text the game draws found in the catalogue
// and fitting its room in every language, and the same game whatever the language.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "platform/headless/replay.hpp"
#include "runs/key_script.hpp"
#include "runs/trace.hpp"
#include "support/headless_game.hpp"
#include "words/catalogue.hpp"

namespace sc {
namespace {

using testing::shared_fonts;

// A .mo file of the given entries, in either byte order.
std::string mo_file(const std::vector<std::pair<std::string, std::string>>& entries, bool big_endian) {
    std::string out(28 + 16 * entries.size(), '\0');
    const auto put = [&](std::size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) { out[at + std::size_t(k)] = char(v >> (big_endian ? 24 - 8 * k : 8 * k)); }
    };
    const std::uint32_t n = std::uint32_t(entries.size());
    put(0, 0x950412de), put(8, n), put(12, 28), put(16, 28 + 8 * n);
    for (int table = 0; table < 2; ++table) {
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::string& text = table == 0 ? entries[i].first : entries[i].second;
            put(28 + 8 * (table * n + i), std::uint32_t(text.size()));
            put(32 + 8 * (table * n + i), std::uint32_t(out.size()));
            out += text + '\0';
        }
    }
    return out;
}

TEST(CatalogueTest, ReadsEitherByteOrderAndLeavesOutWhatIsDamaged) {
    const std::vector<std::pair<std::string, std::string>> entries = {{"", "Language: en\n"}, {"犬", "Dog"}, {"猫", "Cat"}};
    const std::string good = mo_file(entries, false);
    std::string bad_offset = good, bad_count = good, no_nul = good;
    bad_offset[28 + 8 * 4 + 7] = '\x7f';  // the translation of 犬 starts far past the end
    bad_count[11] = '\x7f';              // tables longer than the file
    no_nul.back() = 'x';                    // the last text runs off the end of the file
    const std::tuple<std::string, std::size_t, const char*> cases[] = {
        {good, 2, "Dog"},       {mo_file(entries, true), 2, "Dog"}, {bad_offset, 1, nullptr},
        {bad_count, 0, nullptr}, {no_nul, 1, "Dog"},                 {good.substr(0, 40), 0, nullptr},
        {"not a catalogue", 0, nullptr}, {"", 0, nullptr},
    };
    for (const auto& [bytes, size, dog] : cases) {
        const Catalogue c(bytes);
        EXPECT_EQ(c.size(), size) << bytes.size();
        const std::string* found = c.find("犬");
        EXPECT_EQ(found ? *found : "(none)", dog ? dog : "(none)");
        EXPECT_EQ(c.find(""), nullptr) << "the header is no text of the game";
    }
}

TEST(CatalogueTest, JapaneseIsTheGameItselfAndAnUnknownLanguageIsOneLineAndStatusTwo) {
    EXPECT_EQ(languages(), (std::vector<std::string>{"ja", "en"}));
    EXPECT_EQ(find_catalogue("ja"), nullptr);
    ASSERT_NE(find_catalogue("en"), nullptr);
    EXPECT_EQ(*find_catalogue("en")->find("チキンゲーム"), "Chicken Game");
    for (const char* bad : {"xx", "", "EN", "en_GB"}) { EXPECT_FALSE(known_language(bad)) << bad; }
    EXPECT_EQ(unknown_language("x\x1b[31m"), "unknown language 'x\\x1b[31m' (ja, en)");
    for (const char* program : {"sevenchips", "sevenchips-replay"}) {
        const std::string cmd = std::string(SEVENCHIPS_GAME_DIR "/") + program + " --lang xx 2>&1 >/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        char said[512] = {};
        const std::size_t n = fread(said, 1, sizeof said - 1, p);
        EXPECT_EQ(WEXITSTATUS(pclose(p)), 2) << program;
        EXPECT_EQ(std::string(said, n), std::string(program) + ": unknown language 'xx' (ja, en)\n");
    }
}

// Where the game draws text: the style, each copy's place (shadows and outlines are drawn more
// than once), the room its ink must stay inside (edges included) and every text drawn there.
struct Place {
    const char* what;
    float size;
    bool bold, italic;
    std::vector<std::pair<int, int>> at;
    int left, top, right, bottom;
    std::vector<std::string> texts;
};

// The game's own texts come from its tables, so a new or changed one is measured too.
std::vector<Place> places() {
    testing::HeadlessGame h;
    h.load();
    const Game& g = h.g;
    std::vector<std::string> rows(g.CommandName.begin(), g.CommandName.end()), lines, names(g.PilotName.begin(), g.PilotName.end());
    rows.insert(rows.end(), g.SkillName.begin(), g.SkillName.end());
    rows.push_back("moving...");
    for (const auto& pilot : g.Koe) { lines.insert(lines.end(), pilot.begin(), pilot.end()); }
    // The status panel's inside is x 38..154 within its bevel; a name stays above the rule at
    // y 66, a label left of its value at x 118. A spoken line stays inside its box's border
    // (x - 5 .. x + 90) for pilot 0 (x = 56); upright, its two copies' 13 rows overhang the
    // box (545..557) by a pixel, the Japanese above and the Latin descenders below, inside the
    // band the clearing restores. The level-up sign stays inside the 140-pixel square restored
    // round the chip (centre 100, 100 here); the ending and the prompt inside the box x 250..518.
    return {
        {"pilot's name", 11, true, false, {{45, 50}, {45, 51}}, 38, 38, 154, 65, names},
        {"row or skill", 10, true, false, {{45, 70}, {45, 71}}, 38, 69, 154, 99, rows},
        {"status label", 10, true, false, {{45, 100}, {46, 100}}, 38, 96, 117, 119, {"レベル", "マックス", "ショート", "ロング"}},
        {"status value", 10, true, false, {{118, 160}, {119, 160}}, 118, 160, 154, 179, {" 9999 "}},
        {"asleep face", 11, true, false, {{8, 69}, {9, 70}}, 0, 0, 89, 89, {"Sleeping..."}},
        {"danger face", 12, true, false, {{15, 70}, {17, 70}, {16, 70}}, 0, 0, 89, 89, {"Danger！"}},
        {"pilot's hit points", 9, true, false, {{48, 433}}, 49, 432, 77, 444, {" 999 "}},
        {"damage forecast", 12, true, true, {{51, 452}}, 51, 451, 140, 540, {" 9999 "}},
        {"spoken line", 9, true, false, {{56, 545}, {57, 546}}, 52, 544, 145, 558, lines},
        {"level-up sign", 8, true, false, {{71, 100}, {72, 101}}, 30, 30, 169, 169, {"レベルアップ！"}},
        {"damage rate", 28, false, false, {{53, 251}, {55, 253}}, 38, 246, 154, 298, {" 999 "}},
        {"enemy's name", 9, false, false, {{623, 50}, {623, 51}}, 614, 38, 730, 65, {g.EnemyNames.begin(), g.EnemyNames.end() - 1}},
        {"enemy's hit points", 28, true, false, {{620, 100}, {622, 102}}, 622, 100, 721, 139, {" 9999 "}},
        {"enemy's speed label", 10, true, false, {{620, 176}}, 620, 175, 679, 191, {"スピード"}},
        {"enemy's speed", 10, true, false, {{680, 176}}, 680, 176, 719, 191, {" 10 "}},
        {"enemy's attack", 28, false, false, {{628, 251}, {630, 253}}, 614, 246, 730, 298, {" 999 "}},
        {"game over", 36, true, false, {{250, 170}, {254, 174}}, 176, 160, 591, 224, {"Game Over !"}},
        {"press Enter", 11, true, false, {{300, 247}}, 251, 226, 517, 284, {"Enterキーを押してください "}},
        {"ending, first", 10, false, true, {{337, 70}}, 251, 56, 517, 144, {"お疲れ様でした！"}},
        {"ending, second", 10, false, true, {{287, 90}}, 251, 56, 517, 144, {"説明書よりエピローグをご覧下さい！ "}},
        {"ending, third", 10, false, true, {{317, 110}}, 251, 56, 517, 144, {"Enterキーで終了します"}},
    };
}

bool shared_text(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > 0x1f && c < 0x7f; });
}

TEST(WordsTest, EveryTextHasAnEntryAndFitsItsRoomInEveryLanguage) {
    const Catalogue& english = *find_catalogue("en");
    std::set<std::string> listed;
    for (const std::string& language : languages()) {
        for (const Place& p : places()) {
            TextStyle style{p.size, p.bold, p.italic, RGB(255, 255, 255)};
            for (const std::string& text : p.texts) {
                listed.insert(text);
                EXPECT_TRUE(shared_text(text) || english.find(text) != nullptr) << "no English for " << text;
                const std::string* other = language == "ja" ? nullptr : find_catalogue(language)->find(text);
                const std::string& shown = other != nullptr ? *other : text;
                Surface s(768, 576);
                for (const auto& [x, y] : p.at) { shared_fonts()->draw(s, float(x), float(y), shown, style); }
                int l = 768, t = 576, r = -1, b = -1;  // the box round every inked pixel
                for (int y = 0; y < 576; ++y) {
                    for (int x = 0; x < 768; ++x) {
                        if (s.at(x, y) != 0) { l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = y; }
                    }
                }
                EXPECT_TRUE(l >= p.left && t >= p.top && r <= p.right && b <= p.bottom)
                    << language << ", " << p.what << ": \"" << shown << "\" inks x " << l << ".." << r << ", y " << t << ".." << b
                    << "; its room is x " << p.left << ".." << p.right << ", y " << p.top << ".." << p.bottom;
            }
        }
    }
    for (const std::string& source : english.sources()) { EXPECT_TRUE(listed.count(source)) << "never drawn: " << source; }
}

// A font engine that only notes what it is asked to draw.
class NotingFonts final : public FontEngine {
public:
    void draw(Surface&, float, float, const std::string& text, const TextStyle&) override { drawn.insert(text); }
    int width(const std::string& text, const TextStyle& style) override { return shared_fonts()->width(text, style); }
    std::string font_path() const override { return shared_fonts()->font_path(); }
    std::string font_name() const override { return shared_fonts()->font_name(); }
    std::set<std::string> drawn;
};

// The golden key scripts played in each language give the same trace, line for line (language
// never changes the game); in English nothing drawn is Japanese (every text met an entry); in
// Japanese every text drawn, bar the numbers and the ending's single letters, is one the fit
// test measures.
TEST(WordsTest, TheGoldenGamesAreTheSameInEveryLanguageAndDrawOnlyMeasuredOrTranslatedTexts) {
    std::set<std::string> measured;
    for (const Place& place : places()) { measured.insert(place.texts.begin(), place.texts.end()); }
    std::map<std::string, std::string> traces;
    for (const std::string& language : languages()) {
        NotingFonts fonts;
        for (const char* script : {"tests/golden/rules.keys", "demo/all-sleep.keys", "demo/win.keys"}) {
            KeyScript keys;
            std::string error;
            ASSERT_TRUE(read_key_script(std::string(SEVENCHIPS_SOURCE_DIR "/") + script, keys, error)) << error;
            testing::HeadlessGame h;
            h.g.fonts = &fonts;
            h.g.catalogue = find_catalogue(language);
            ReplaySession run(h.g, h.platform, keys.keys, 20000);
            run.run([&](const std::string& event, int key) {
                const TraceEvent e{event, run.ticks(), h.platform.now_ms(), key, h.effects(), {}};
                traces[language] += trace_line(h.g, e) + "\n";
            });
        }
        for (const std::string& text : fonts.drawn) {
            const bool number = text == format_number(std::atol(text.c_str()));
            if (language == "ja") {
                EXPECT_TRUE(number || text.size() <= 1 || measured.count(text)) << "not measured: " << text;
            } else {
                EXPECT_TRUE(shared_text(text)) << language << " draws \"" << text << "\"";
            }
        }
    }
    EXPECT_GT(std::count(traces["ja"].begin(), traces["ja"].end(), '\n'), 1000);
    EXPECT_NE(traces["ja"].find("\"EnemyName\":\"ミッドナイトクック\""), std::string::npos) << "the game's own names";
    EXPECT_EQ(traces["ja"], traces["en"]);
}

// The replay tool's --lang gives the pictures of that language.
TEST(WordsTest, TheReplayToolDrawsInTheLanguageAskedFor) {
    testing::TempDir dir;
    dir.write("none.keys", "");
    std::map<std::string, std::string> pictures;
    for (const std::string& language : languages()) {
        ReplayOptions o;
        o.keys_file = dir.path() + "none.keys";
        o.app_dir = o.data_dir = dir.path();
        o.max_ticks = 1;
        o.lang = language;
        o.shots = {{"start", dir.path() + language + ".png"}};
        std::ostringstream out, err;
        ASSERT_EQ(run_replay(o, out, err), 0) << err.str();
        pictures[language] = testing::read_file(dir.path() + language + ".png");
    }
    EXPECT_NE(pictures["ja"], pictures["en"]);
}

}  // namespace
}  // namespace sc
