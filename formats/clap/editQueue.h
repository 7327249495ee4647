// The editor's edits on their way from the main thread to the host's event
// lists: a fixed ring that one thread fills and one thread drains, without
// locks or allocation, so that process() can drain it.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// A value record carries no value: the effect's value when it is sent is the
// latest, so one queued record stands for every change made before it goes.
struct EditRecord {
    enum class Kind : std::uint8_t { gestureBegin, value, gestureEnd };
    Kind kind = Kind::value;
    std::uint32_t paramId = 0;
};

template <std::size_t Capacity>
class EditQueue {
    static_assert((Capacity & (Capacity - 1)) == 0, "a power of two");

public:
    // Producer: queues the record when at least `keepFree` more records would
    // still fit after it (room held back for the gesture ends still owed).
    bool push(const EditRecord& record, std::size_t keepFree = 0) {
        const std::size_t tail = written.load(std::memory_order_relaxed);
        const std::size_t used = tail - taken.load(std::memory_order_acquire);
        if (used + 1 + keepFree > Capacity) return false;
        ring[tail & (Capacity - 1)] = record;
        written.store(tail + 1, std::memory_order_release);
        return true;
    }

    // Producer: records queued and not yet taken (the newest of them is not
    // being read while two or more wait).
    std::size_t waiting() const {
        return written.load(std::memory_order_relaxed) - taken.load(std::memory_order_acquire);
    }

    // Consumer: the oldest record, or null; it stays queued until pop().
    const EditRecord* front() const {
        const std::size_t head = taken.load(std::memory_order_relaxed);
        if (head == written.load(std::memory_order_acquire)) return nullptr;
        return &ring[head & (Capacity - 1)];
    }
    void pop() { taken.store(taken.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

private:
    std::array<EditRecord, Capacity> ring{};
    std::atomic<std::size_t> written{0};
    std::atomic<std::size_t> taken{0};
};
