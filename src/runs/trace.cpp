#include "runs/trace.hpp"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "shell/game.hpp"

namespace sc {

std::string json_string(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += char(c);
                }
        }
    }
    return out + "\"";
}

int effect_number(const std::string& name) {
    const auto slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    if (base.size() < 3 || base.compare(0, 2, "se") != 0) { return 0; }
    return std::atoi(base.c_str() + 2);
}

namespace {

template <class A>
void put_array(std::ostringstream& o, const char* name, const A& values) {
    o << ",\"" << name << "\":[";
    for (std::size_t i = 0; i < values.size(); ++i) { o << (i ? "," : "") << long(values[i]); }
    o << "]";
}

}  // namespace

std::string trace_line(const Game& g, const TraceEvent& e) {
    std::ostringstream o;
    o << "{\"event\":" << json_string(e.event) << ",\"tick\":" << e.tick << ",\"ms\":" << e.ms;
    if (e.key >= 0) { o << ",\"key\":" << e.key; }
    o << ",\"GameMode\":" << int(g.GameMode) << ",\"EnemyNo\":" << int(g.EnemyNo)
      << ",\"EnemyName\":" << json_string(g.EnemyName) << ",\"EnemyHp\":" << g.EnemyHp
      << ",\"EnemyMaxHp\":" << g.EnemyMaxHp << ",\"EnemyAttack\":" << g.EnemyAttack
      << ",\"EnemySpeed\":" << g.EnemySpeed << ",\"EnemyGauge\":" << g.EnemyGauge
      << ",\"DamageRate\":" << g.DamageRate << ",\"HealChance\":" << int(g.HealChance)
      << ",\"TalkTimer\":" << int(g.TalkTimer) << ",\"Cursor\":" << int(g.Cursor)
      << ",\"AliveCount\":" << int(g.AliveCount) << ",\"QuitStage\":" << int(g.QuitStage);
    put_array(o, "PilotHp", g.PilotHp);
    put_array(o, "PilotMaxHp", g.PilotMaxHp);
    put_array(o, "PilotMode", g.PilotMode);
    put_array(o, "PilotPose", g.PilotPose);
    put_array(o, "PilotX", g.PilotX);
    put_array(o, "PilotY", g.PilotY);
    put_array(o, "PilotStep", g.PilotStep);
    put_array(o, "PilotCharge", g.PilotCharge);
    put_array(o, "PilotLevel", g.PilotLevel);
    put_array(o, "PilotOut", g.PilotOut);
    put_array(o, "PilotShort", g.PilotShort);
    put_array(o, "PilotLong", g.PilotLong);
    put_array(o, "PilotHit", g.PilotHit);
    put_array(o, "PilotBob", g.PilotBob);
    put_array(o, "PilotSpeed", g.PilotSpeed);
    o << ",\"sounds\":[";
    for (std::size_t i = 0; i < e.sounds.size(); ++i) { o << (i ? "," : "") << e.sounds[i]; }
    o << "],\"music\":[";
    for (std::size_t i = 0; i < e.music.size(); ++i) { o << (i ? "," : "") << json_string(e.music[i]); }
    o << "],\"timer2\":" << g.Timer2.Interval << "}";
    return o.str();
}

}  // namespace sc
