#ifndef PLOTVANE_DRAW_METAREPLAY_P_H
#define PLOTVANE_DRAW_METAREPLAY_P_H

// Readers of a recording: replay into a back-end, and the text dump. Both walk the records by
// their length words, so a record they cannot read is skipped and reported, and the rest still
// comes out.

#include <plotvane/ostrstream.h>

#include <cstdint>
#include <string>

#include "draw/drawbackend_p.h"

namespace plotvane {

class LargeObjContainer;

// Replays the records in words [from, to) and returns `to`.
int replayRecords(const uint32_t* words, int from, int to, const LargeObjContainer& objects, DrawBackend& backend);
void dumpRecords(const uint32_t* words, int from, int to, const LargeObjContainer& objects, vek::ostream& out);

// How the dump writes a colour: symbolic names for palette references, else 0x%06x.
std::string colorText(uint32_t color);
// The report for a record that cannot be read: the message, the opcode and the bytes skipped.
std::string skipMessage(const char* message, uint32_t opcode, int remainingWords);

}  // namespace plotvane

#endif
