#pragma once

// A stereo 16-bit PCM WAV file written as the audio comes: into "NAME.part" beside it, renamed
// to its name only when finished, so a run cut short leaves no half-written WAV.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace kavel::module {

class WavFile {
  public:
    // Throws std::runtime_error with a sentence when the file cannot be created.
    WavFile(std::string path, int sampleRate);
    ~WavFile(); // unfinished: the partial file is removed
    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    // Samples in -1..1; beyond that they are clipped.
    void append(const float* left, const float* right, std::size_t frames);
    // Nothing, or a sentence saying why the file could not be completed.
    std::optional<std::string> finish();
    std::uint64_t frames() const { return frames_; }

  private:
    void header(std::uint32_t dataBytes);

    std::string path_, partPath_;
    int rate_;
    std::ofstream out_;
    std::uint64_t frames_ = 0;
    bool finished_ = false;
};

} // namespace kavel::module
