// What the desktop needs to know of a Standard MIDI File before it plays it: whether all of it
// is there, and how long it lasts. The MIDI synthesiser says neither.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace sc {

struct MidiShape {
    // The header and as many whole track chunks as it announces: the synthesiser takes any file
    // at first and only fails once it plays.
    bool whole = false;
    // From the start to the last track's end, through the tempo map (every track's tempo
    // changes count, as the synthesiser plays all tracks at once). None when the events cannot
    // be read or the file counts in SMPTE frames, which the synthesiser does not play.
    std::optional<double> seconds;
};

MidiShape read_midi(std::string_view bytes);
// The file's first 64 MiB: more is cut short, and so not whole.
MidiShape read_midi_file(const std::string& path);

}  // namespace sc
