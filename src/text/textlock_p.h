#ifndef PLOTVANE_TEXT_TEXTLOCK_P_H
#define PLOTVANE_TEXT_TEXTLOCK_P_H

#include <plotvane/mutex.h>

namespace plotvane {

// Holds the process-wide text lock, which guards the font driver, its caches and the building and
// layout of text. Re-entrant on one thread, so a layout that releases glyphs (or a glyph container
// dropped while text is being built) cannot deadlock against itself.
class TextLock {
public:
    TextLock();
    ~TextLock();
    TextLock(const TextLock&) = delete;
    TextLock& operator=(const TextLock&) = delete;

    static vek::Mutex& mutex();
};

}  // namespace plotvane

#endif
