// sevenchips-soak: many generated key scripts replayed headless, every invariant checked.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/headless/soak.hpp"

int main(int argc, char** argv) {
    long scripts = 200, ticks = 20000;
    unsigned long long seed = 1;
    std::string app_dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--scripts") { scripts = std::atol(argv[i + 1]); }
        else if (a == "--ticks") { ticks = std::atol(argv[i + 1]); }
        else if (a == "--seed") { seed = std::strtoull(argv[i + 1], nullptr, 10); }
        else if (a == "--app-dir") { app_dir = argv[i + 1]; }
        else {
            std::cerr << "usage: sevenchips-soak [--scripts N] [--ticks N] [--seed N] [--app-dir DIR]\n";
            return 2;
        }
    }
    if (app_dir.empty()) {
        // A scratch program folder: the clear file of a won game must not land in the tree.
        app_dir = (std::filesystem::temp_directory_path() / "sevenchips-soak").string();
        std::filesystem::create_directories(app_dir + "/se");
    }
    const sc::SoakResult r = sc::run_soak(scripts, ticks, seed, app_dir);
    for (const auto& m : r.messages) { std::cerr << "soak: " << m << "\n"; }
    std::cout << "soak: " << r.scripts << " scripts, " << r.ticks << " ticks, " << r.events << " events, "
              << r.failures << " failures\n";
    return r.failures == 0 ? 0 : 1;
}
