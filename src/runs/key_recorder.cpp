#include "runs/key_recorder.hpp"

#include "runs/key_script.hpp"

namespace sc {

bool KeyRecorder::open(const std::string& path, std::string& error) {
    return file_.open(path, error) &&
           file_.put("# A game of Seven Chips: play it again with sevenchips --play or sevenchips-replay --keys.\n");
}

bool KeyRecorder::write_seed(std::uint64_t seed) { return file_.put("seed " + std::to_string(seed) + "\n"); }

bool KeyRecorder::write_key(long tick, int code) { return file_.put(std::to_string(tick) + " " + key_name(code) + "\n"); }

}  // namespace sc
