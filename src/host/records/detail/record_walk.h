// Walking the records of stored objects without creating them: skipping an
// object whose class is unknown, and printing a document record by record.
#ifndef DAVODU_HOST_RECORDS_DETAIL_RECORD_WALK_H_
#define DAVODU_HOST_RECORDS_DETAIL_RECORD_WALK_H_

#include <functional>

namespace davodu {

class CZuMFile;

// Called for every record walked, with the nesting depth of the object it
// belongs to (the object's record 60 has the depth of its holder, its other
// records one more).
using RecordVisitor = std::function<void(const CZuMFile& file, int depth)>;

// Walks the records of one object from the record after its 60 up to the 80
// that closes its last section: the base section with the objects nested in
// it (each walked whole), then the sections of its class levels (runs of
// tagged records, 153, each closed by an 80). The record 60 itself is the
// caller's. depth is the depth of the object's own records.
//
// Returns false when the data ends, or objects nest more than 64 deep,
// before the object is complete. On true, *pending tells whether the record
// last read already belongs to the caller (any record but a 153 after the
// object's last section: the next object's 60, the 80 closing the caller's
// section, a document record), not yet visited.
bool WalkObjectRecords(CZuMFile* file, int depth, const RecordVisitor& visit, bool* pending);

}  // namespace davodu

#endif  // DAVODU_HOST_RECORDS_DETAIL_RECORD_WALK_H_
