#ifndef PLOTVANE_DRAW_MEMCACHE_P_H
#define PLOTVANE_DRAW_MEMCACHE_P_H

// The process-wide cache of encoded outputs, so that a picture made in one request can be
// served by a later one. Blocks are kept while locked, and after that until they expire.

#include <plotvane/arrays.h>
#include <plotvane/mutex.h>

#include <map>
#include <string>

namespace plotvane {

class MemCache {
public:
    static MemCache& instance();
    MemCache() = default;
    MemCache(const MemCache&) = delete;
    MemCache& operator=(const MemCache&) = delete;
    ~MemCache();

    // Takes over bytes (allocated with malloc), replacing any block under the key, and locks it.
    // expiry is a wall-clock time in seconds.
    void putAndLockBlock(const std::string& key, char* bytes, int length, double expiry);
    // The block under the key, locked; empty when there is none.
    MemBlock lockBlock(const std::string& key);
    void unlockBlock(const std::string& key);
    // Frees every unlocked block whose expiry has passed.
    void garbageCollect();
    static double now();

private:
    struct Block {
        char* bytes = nullptr;
        int length = 0;
        double expiry = 0;
        int locks = 0;
    };
    void collectLocked(double time);
    vek::Mutex mutex_;
    std::map<std::string, Block> blocks_;
};

}  // namespace plotvane

#endif
