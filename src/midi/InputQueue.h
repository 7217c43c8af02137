#pragma once

// A fixed-size single-producer single-consumer queue of short MIDI messages. The driver's
// thread pushes, the user-interface thread pops; neither allocates nor blocks.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace kavel {

struct ShortMessage {
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
};

class InputQueue {
  public:
    static constexpr std::size_t kCapacity = 4096; // a power of two

    // Producer side. False when full: the message is lost.
    bool push(ShortMessage m) noexcept {
        const auto tail = tail_.load(std::memory_order_relaxed);
        const auto head = head_.load(std::memory_order_acquire);
        if (tail - head >= kCapacity) return false;
        slots_[tail & (kCapacity - 1)] = m;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Consumer side.
    std::size_t size() const noexcept {
        return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_relaxed);
    }
    // Only valid while size() > 0.
    const ShortMessage& front() const noexcept {
        return slots_[head_.load(std::memory_order_relaxed) & (kCapacity - 1)];
    }
    void pop() noexcept {
        if (size() == 0) return;
        head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }
    void clear() noexcept { head_.store(tail_.load(std::memory_order_acquire)); }

  private:
    std::array<ShortMessage, kCapacity> slots_{};
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

} // namespace kavel
