#ifndef PLOTVANE_MUTEX_H
#define PLOTVANE_MUTEX_H

#include <mutex>

namespace vek {

// A process-wide lock over the operating system's mutex, for the few pieces of shared state
// (the text driver, object ids, the output cache).
class Mutex {
public:
    Mutex() = default;
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

private:
    std::mutex mutex_;
};

class MutexLock {
public:
    explicit MutexLock(Mutex& m) : mutex_(m) { mutex_.lock(); }
    ~MutexLock() { mutex_.unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    Mutex& mutex_;
};

}  // namespace vek

#endif
