// A text file written a line at a time as a run goes: each line is on disk (flushed) before
// the run goes on, so a crash loses at most the line being written.
#pragma once
#include <cstdio>
#include <string>

namespace sc {

class LineFile {
public:
    LineFile() = default;
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    // Creates (or empties) the file; false with the reason in `error`.
    bool open(const std::string& path, std::string& error);
    bool is_open() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    // Writes and flushes `text`. False when nothing is open or the write failed (the disk is
    // full, the file has gone); the file is then closed.
    bool put(const std::string& text);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

}  // namespace sc
