// Replacements for the allocator, the lock functions and the common system-call
// wrappers that count every call made while counting is switched on. Linked
// into the test executable, they win over the C library for the plug-in too.
#include "interposers.h"

#include <dlfcn.h>
#include <pthread.h>
#include <semaphore.h>
#include <stdarg.h>
#include <sys/types.h>
#include <time.h>

#include <atomic>
#include <cstddef>
#include <new>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
void* __libc_memalign(size_t, size_t);
}

namespace {
thread_local bool counting = false;
std::atomic<int> allocations{0}, locks{0}, systemCalls{0};

void countAllocation() {
    if (counting) allocations.fetch_add(1, std::memory_order_relaxed);
}
void countLock() {
    if (counting) locks.fetch_add(1, std::memory_order_relaxed);
}
void countSystemCall() {
    if (counting) systemCalls.fetch_add(1, std::memory_order_relaxed);
}

template <typename F>
F next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// Resolved before main, while nothing is counted.
struct Real {
    int (*mutexLock)(pthread_mutex_t*) = next<int (*)(pthread_mutex_t*)>("pthread_mutex_lock");
    int (*mutexTryLock)(pthread_mutex_t*) = next<int (*)(pthread_mutex_t*)>("pthread_mutex_trylock");
    int (*rdlock)(pthread_rwlock_t*) = next<int (*)(pthread_rwlock_t*)>("pthread_rwlock_rdlock");
    int (*wrlock)(pthread_rwlock_t*) = next<int (*)(pthread_rwlock_t*)>("pthread_rwlock_wrlock");
    int (*spinLock)(pthread_spinlock_t*) = next<int (*)(pthread_spinlock_t*)>("pthread_spin_lock");
    int (*semWait)(sem_t*) = next<int (*)(sem_t*)>("sem_wait");
    ssize_t (*write)(int, const void*, size_t) = next<ssize_t (*)(int, const void*, size_t)>("write");
    ssize_t (*read)(int, void*, size_t) = next<ssize_t (*)(int, void*, size_t)>("read");
    int (*nanosleep)(const timespec*, timespec*) =
        next<int (*)(const timespec*, timespec*)>("nanosleep");
    int (*usleep)(useconds_t) = next<int (*)(useconds_t)>("usleep");
    int (*schedYield)() = next<int (*)()>("sched_yield");
    int (*close)(int) = next<int (*)(int)>("close");
};
Real& real() {
    static Real r;
    return r;
}
const bool resolvedEarly = (real(), true);
}  // namespace

namespace rtcount {
void start() {
    allocations = 0;
    locks = 0;
    systemCalls = 0;
    counting = true;
}
Counts stop() {
    counting = false;
    return {allocations.load(), locks.load(), systemCalls.load()};
}
}  // namespace rtcount

extern "C" {
void* malloc(size_t n) {
    countAllocation();
    return __libc_malloc(n);
}
void* calloc(size_t a, size_t b) {
    countAllocation();
    return __libc_calloc(a, b);
}
void* realloc(void* p, size_t n) {
    countAllocation();
    return __libc_realloc(p, n);
}
void free(void* p) {
    if (p) countAllocation();
    __libc_free(p);
}
void* aligned_alloc(size_t alignment, size_t n) {
    countAllocation();
    return __libc_memalign(alignment, n);
}
int posix_memalign(void** out, size_t alignment, size_t n) {
    countAllocation();
    *out = __libc_memalign(alignment, n);
    return *out ? 0 : 12;
}
int pthread_mutex_lock(pthread_mutex_t* m) {
    countLock();
    return real().mutexLock(m);
}
int pthread_mutex_trylock(pthread_mutex_t* m) {
    countLock();
    return real().mutexTryLock(m);
}
int pthread_rwlock_rdlock(pthread_rwlock_t* l) {
    countLock();
    return real().rdlock(l);
}
int pthread_rwlock_wrlock(pthread_rwlock_t* l) {
    countLock();
    return real().wrlock(l);
}
int pthread_spin_lock(pthread_spinlock_t* l) {
    countLock();
    return real().spinLock(l);
}
int sem_wait(sem_t* s) {
    countLock();
    return real().semWait(s);
}
ssize_t write(int fd, const void* p, size_t n) {
    countSystemCall();
    return real().write(fd, p, n);
}
ssize_t read(int fd, void* p, size_t n) {
    countSystemCall();
    return real().read(fd, p, n);
}
int nanosleep(const timespec* a, timespec* b) {
    countSystemCall();
    return real().nanosleep(a, b);
}
int usleep(useconds_t us) {
    countSystemCall();
    return real().usleep(us);
}
int sched_yield() {
    countSystemCall();
    return real().schedYield();
}
int close(int fd) {
    countSystemCall();
    return real().close(fd);
}
}

void* operator new(size_t n) {
    countAllocation();
    if (void* p = __libc_malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    countAllocation();
    return __libc_malloc(n ? n : 1);
}
void* operator new[](size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept {
    if (p) countAllocation();
    __libc_free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }
