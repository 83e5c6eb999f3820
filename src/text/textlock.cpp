#include "text/textlock_p.h"

namespace plotvane {

namespace {
thread_local int lockDepth = 0;
}

vek::Mutex& TextLock::mutex() {
    // Never destroyed, so the exit-time teardown of the font driver can still take it.
    static vek::Mutex* m = new vek::Mutex;
    return *m;
}

TextLock::TextLock() {
    if (lockDepth++ == 0) mutex().lock();
}

TextLock::~TextLock() {
    if (--lockDepth == 0) mutex().unlock();
}

}  // namespace plotvane
