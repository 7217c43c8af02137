#include "module/WavFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace kavel::module {

namespace {

void put16(std::ofstream& out, std::uint32_t v) {
    const std::array<char, 2> b{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    out.write(b.data(), 2);
}
void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::int16_t pcm(float x) {
    const float clipped = std::clamp(x, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lrint(clipped * 32767.0f));
}

// The RIFF sizes are 32-bit: a recording stops growing before it would overflow them.
constexpr std::uint64_t kMaxDataBytes = 0xFFFFFFFFull - 36;

} // namespace

WavFile::WavFile(std::string path, int sampleRate)
    : path_(std::move(path)), partPath_(path_ + ".part"), rate_(sampleRate) {
    out_.open(partPath_, std::ios::binary | std::ios::trunc);
    if (!out_) throw std::runtime_error("Cannot write \"" + path_ + "\".");
    header(0);
}

WavFile::~WavFile() {
    if (finished_) return;
    out_.close();
    std::remove(partPath_.c_str());
}

void WavFile::header(std::uint32_t dataBytes) {
    out_.write("RIFF", 4);
    put32(out_, 36 + dataBytes);
    out_.write("WAVEfmt ", 8);
    put32(out_, 16);
    put16(out_, 1); // PCM
    put16(out_, 2); // stereo
    put32(out_, static_cast<std::uint32_t>(rate_));
    put32(out_, static_cast<std::uint32_t>(rate_) * 4);
    put16(out_, 4);
    put16(out_, 16);
    out_.write("data", 4);
    put32(out_, dataBytes);
}

void WavFile::append(const float* left, const float* right, std::size_t frames) {
    frames = static_cast<std::size_t>(std::min<std::uint64_t>(frames, kMaxDataBytes / 4 - frames_));
    std::vector<char> bytes(frames * 4);
    for (std::size_t i = 0; i < frames; ++i) {
        const auto l = static_cast<std::uint16_t>(pcm(left[i]));
        const auto r = static_cast<std::uint16_t>(pcm(right[i]));
        bytes[4 * i] = static_cast<char>(l & 0xFF);
        bytes[4 * i + 1] = static_cast<char>(l >> 8);
        bytes[4 * i + 2] = static_cast<char>(r & 0xFF);
        bytes[4 * i + 3] = static_cast<char>(r >> 8);
    }
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    frames_ += frames;
}

std::optional<std::string> WavFile::finish() {
    out_.seekp(0);
    header(static_cast<std::uint32_t>(frames_ * 4));
    out_.close();
    if (!out_) return "Cannot write \"" + path_ + "\".";
    if (std::rename(partPath_.c_str(), path_.c_str()) != 0)
        return "Cannot write \"" + path_ + "\".";
    finished_ = true;
    return std::nullopt;
}

} // namespace kavel::module
