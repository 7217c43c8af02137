#pragma once

// JACK runs the clients' process callbacks of a cycle one after another in graph order and
// hands the port buffers on through libjack's own futexes, which ThreadSanitizer cannot see.
// Under it, each callback acquires at its start and releases at its end one token of this
// process, so what one client wrote into a port buffer is seen as written before the next
// client of the cycle reads it. Without ThreadSanitizer this is nothing.

#if defined(__SANITIZE_THREAD__)
#define KAVEL_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KAVEL_TSAN 1
#endif
#endif

#ifdef KAVEL_TSAN
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace kavel {

#ifdef KAVEL_TSAN
inline char jackCycleToken;
struct CycleOrder {
    CycleOrder() { __tsan_acquire(&jackCycleToken); }
    ~CycleOrder() { __tsan_release(&jackCycleToken); }
};
#else
struct CycleOrder {};
#endif

} // namespace kavel
