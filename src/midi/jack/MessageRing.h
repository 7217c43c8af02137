#pragma once

// A single-producer single-consumer ring of whole MIDI messages: the user-interface thread
// writes, JACK's process thread reads. A message is in the ring whole or not at all, so the
// reader never sees part of one; neither side allocates, locks or waits.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kavel {

class MessageRing {
  public:
    static constexpr std::size_t kHeader = 2; // the message's length, little-endian

    // `capacity`: a power of two.
    explicit MessageRing(std::size_t capacity) : bytes_(capacity), mask_(capacity - 1) {}

    static constexpr std::size_t kLargest = 0xFFFF;
    // Whether a message of `size` bytes could ever fit.
    bool fits(std::size_t size) const {
        return size <= kLargest && size + kHeader <= bytes_.size();
    }

    // Producer. False when there is no room for the whole message now.
    bool write(const std::uint8_t* message, std::size_t size) noexcept {
        const auto tail = tail_.load(std::memory_order_relaxed);
        const auto head = head_.load(std::memory_order_acquire);
        if (!fits(size) || bytes_.size() - (tail - head) < size + kHeader) return false;
        const std::uint8_t header[kHeader] = {static_cast<std::uint8_t>(size & 0xFF),
                                              static_cast<std::uint8_t>(size >> 8)};
        copyIn(tail, header, kHeader);
        copyIn(tail + kHeader, message, size);
        tail_.store(tail + kHeader + size, std::memory_order_release);
        return true;
    }

    // Producer: whether the consumer has taken everything written.
    bool drained() const noexcept {
        return head_.load(std::memory_order_acquire) == tail_.load(std::memory_order_relaxed);
    }

    // Consumer. The size of the oldest message, 0 when none waits.
    std::size_t peek() const noexcept {
        const auto head = head_.load(std::memory_order_relaxed);
        if (tail_.load(std::memory_order_acquire) == head) return 0;
        return static_cast<std::size_t>(at(head)) | static_cast<std::size_t>(at(head + 1)) << 8;
    }
    // Copies the oldest message (of peek()'s size) into `to` and removes it.
    void read(std::uint8_t* to) noexcept {
        const auto head = head_.load(std::memory_order_relaxed);
        const std::size_t size = peek();
        for (std::size_t i = 0; i < size; ++i)
            to[i] = at(head + kHeader + i);
        head_.store(head + kHeader + size, std::memory_order_release);
    }

    // Removes the oldest message unread.
    void skip() noexcept {
        const auto head = head_.load(std::memory_order_relaxed);
        head_.store(head + kHeader + peek(), std::memory_order_release);
    }

    // Only while neither side is in use.
    void clear() noexcept { head_.store(tail_.load(std::memory_order_acquire)); }

  private:
    std::uint8_t at(std::size_t i) const noexcept { return bytes_[i & mask_]; }
    void copyIn(std::size_t at, const std::uint8_t* from, std::size_t size) noexcept {
        const std::size_t start = at & mask_;
        const std::size_t first = std::min(size, bytes_.size() - start);
        std::memcpy(bytes_.data() + start, from, first);
        std::memcpy(bytes_.data(), from + first, size - first);
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t mask_;
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

} // namespace kavel
