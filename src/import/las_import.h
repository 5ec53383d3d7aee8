// Importing the curves of a LAS file into the well database.
#ifndef DAVODU_IMPORT_LAS_IMPORT_H_
#define DAVODU_IMPORT_LAS_IMPORT_H_

#include <string>

namespace davodu {

class CWellDataManager;

// Imports the numeric curves of a LAS file (text columns are left out),
// replacing curves of the same names. The well (UTF-8) is well when not
// empty, else the file's WELL item, else the file's stem; it is created when
// missing and its name is returned in *imported_well (may be null). Depths
// in feet or other length units become metres. Returns false with *error
// ("FILE:LINE: cause") and leaves the database unchanged when the file
// cannot be read or stored.
bool ImportLasFile(CWellDataManager& wells, const std::string& path, const std::string& well,
                   std::string* imported_well, std::string* error);

}  // namespace davodu

#endif  // DAVODU_IMPORT_LAS_IMPORT_H_
