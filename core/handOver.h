// Two lock-free ways for data to cross between the main thread and the audio
// thread without either waiting on the other, and without allocation.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

// The latest of a series of values one thread publishes and another takes:
// three copies, one the writer's, one the reader's, one in between, swapped
// with one atomic exchange each side.
template <typename T>
class TripleBuffer {
public:
    // Writer: publishes a copy of `value`.
    void publish(const T& value) {
        slots[writing] = value;
        const unsigned was = middle.exchange(writing | kFresh, std::memory_order_acq_rel);
        writing = was & kIndex;
    }
    // Reader: the latest published value (the previous one while nothing newer came).
    const T& latest() {
        if (middle.load(std::memory_order_relaxed) & kFresh)
            reading = middle.exchange(reading, std::memory_order_acq_rel) & kIndex;
        return slots[reading];
    }

private:
    static constexpr unsigned kIndex = 3;
    static constexpr unsigned kFresh = 4;
    std::array<T, 3> slots{};
    std::atomic<unsigned> middle{1};
    unsigned writing = 0;  // the writer's alone
    unsigned reading = 2;  // the reader's alone
};

// A first-in first-out ring one thread fills and another drains.
template <typename T, std::size_t Capacity>
class HandOverRing {
    static_assert((Capacity & (Capacity - 1)) == 0, "a power of two");

public:
    // Producer: false when the ring is full.
    bool push(const T& value) {
        const std::size_t tail = written.load(std::memory_order_relaxed);
        if (tail - taken.load(std::memory_order_acquire) == Capacity) return false;
        ring[tail & (Capacity - 1)] = value;
        written.store(tail + 1, std::memory_order_release);
        return true;
    }
    // Consumer: the oldest value into `out`; false when empty.
    bool pop(T& out) {
        const std::size_t head = taken.load(std::memory_order_relaxed);
        if (head == written.load(std::memory_order_acquire)) return false;
        out = ring[head & (Capacity - 1)];
        taken.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    std::array<T, Capacity> ring{};
    std::atomic<std::size_t> written{0};
    std::atomic<std::size_t> taken{0};
};
