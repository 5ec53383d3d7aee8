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

// Records numbered from here on can open a section of a class level (most
// open with a tagged record, 153; the parameter column's opens with 174).
// Lower numbers never do: an object's start (60), the end of a section (80)
// and the document's own records (1 to 5) belong to whoever holds the
// object.
constexpr unsigned short kRecFirstSection = 100;
bool StartsSection(unsigned short number);

// Walks the records of one object from the record after its 60 up to the 80
// that closes its last section: the base section, then the sections of its
// class levels, each a run of records closed by an 80 and opened by a
// record that StartsSection. Objects nested in any section (a 60 up to its
// own last 80) are walked whole, so their 80s close nothing of this one; as
// the children do in the base section, they come last in their section.
// The record 60 itself is the caller's. depth is the depth of the object's
// own records.
//
// Returns false when the data ends, or objects nest more than 64 deep,
// before the object is complete. On true, *pending tells whether the record
// last read already belongs to the caller (a record that opens no section,
// after the object's last section: the next object's 60, the 80 closing the
// caller's section, a document record), not yet visited.
bool WalkObjectRecords(CZuMFile* file, int depth, const RecordVisitor& visit, bool* pending);

}  // namespace davodu

#endif  // DAVODU_HOST_RECORDS_DETAIL_RECORD_WALK_H_
