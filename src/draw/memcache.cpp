#include "draw/memcache_p.h"

#include <chrono>
#include <cstdlib>

namespace plotvane {

MemCache& MemCache::instance() {
    static MemCache cache;
    return cache;
}

MemCache::~MemCache() {
    for (auto& entry : blocks_) std::free(entry.second.bytes);
}

double MemCache::now() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

void MemCache::collectLocked(double time) {
    for (auto it = blocks_.begin(); it != blocks_.end();) {
        if (it->second.locks <= 0 && it->second.expiry < time) {
            std::free(it->second.bytes);
            it = blocks_.erase(it);
        } else {
            ++it;
        }
    }
}

void MemCache::putAndLockBlock(const std::string& key, char* bytes, int length, double expiry) {
    vek::MutexLock lock(mutex_);
    collectLocked(now());
    Block& block = blocks_[key];
    if (block.bytes != bytes) std::free(block.bytes);
    block.bytes = bytes;
    block.length = length;
    block.expiry = expiry;
    block.locks = 1;
}

MemBlock MemCache::lockBlock(const std::string& key) {
    vek::MutexLock lock(mutex_);
    auto it = blocks_.find(key);
    if (it == blocks_.end()) return MemBlock();
    ++it->second.locks;
    return MemBlock(it->second.bytes, it->second.length);
}

void MemCache::unlockBlock(const std::string& key) {
    vek::MutexLock lock(mutex_);
    auto it = blocks_.find(key);
    if (it != blocks_.end() && it->second.locks > 0) --it->second.locks;
}

void MemCache::garbageCollect() {
    vek::MutexLock lock(mutex_);
    collectLocked(now());
}

}  // namespace plotvane
