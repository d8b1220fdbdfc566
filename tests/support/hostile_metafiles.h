// Metafiles built to break a player that trusts their records: each holds records whose
// counts, offsets or object indices lead outside the record or the object table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HostileMetafile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// One file per kind of damage, and one file with all the damaged records together.
std::vector<HostileMetafile> HostileMetafiles();

// Files whose structure no reader may trust: headers cut short or of sizes 0 and 0xFFFFFFF8,
// record and byte counts of 0 and up to 0xFFFFFFFF, record sizes of 0 and 0xFFFFFFF8, files cut
// in the middle of a record, records after the end-of-file record, frames at the limits of 32
// bits. The first, "base", is sound; the others are it or a picture like it, damaged. Some of
// them no reader can open.
std::vector<HostileMetafile> MalformedMetafiles();

// Every record type, those the format does not define included, in one file each way: filled
// with one byte value after the head, cut to the head or one word short of the fixed
// structure, or filled with words a hostile writer would choose (counts, offsets and object
// indices at the limits, at the record's end and just past it).
std::vector<HostileMetafile> EveryTypeMetafiles();
