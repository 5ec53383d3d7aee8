// Copying a whole well database into another, also between engines (a
// field moves from a geologist's SQLite file to the team's PostgreSQL
// server and back).
#ifndef DAVODU_STORE_WELL_COPY_H_
#define DAVODU_STORE_WELL_COPY_H_

#include <functional>
#include <string>

namespace davodu {

class CWellDataManager;

// Copies every well (its header fields, survey, log imports, curves and
// tables), the catalogues and the scattered tables of from into to, which
// must hold no wells and no scattered tables; its catalogues are replaced.
// Curves keep their import runs and shared depth indexes, tables their row
// order and own columns. Ids and stamps are the destination's own.
//
// The copy is one transaction of the destination: on failure nothing of it
// is left behind, false is returned and *error says why. progress (optional)
// is called with the steps done and the steps in all (one per well,
// catalogue and scattered table) and the name (GBK) of what comes next.
bool CopyWellDatabase(CWellDataManager& from, CWellDataManager& to, std::string* error,
                      const std::function<void(int done, int total, const std::string& what)>&
                          progress = {});

}  // namespace davodu

#endif  // DAVODU_STORE_WELL_COPY_H_
