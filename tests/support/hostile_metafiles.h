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
