// The style templates of the well database (its "样式模板" catalogue) in the
// host's template store, where parameter columns look them up by name.
#ifndef DAVODU_DATA_STYLE_TEMPLATES_H_
#define DAVODU_DATA_STYLE_TEMPLATES_H_

#include <cstdint>

namespace davodu {

class CWellDataManager;

// Registers every template of the catalogue with the host's template store
// when the catalogue changed since the stamp given (0: always), and
// returns the catalogue's stamp. A row whose result does not fit its kind
// (a colour that is not #RRGGBB, a size that is not a number) is skipped;
// a template that is no longer in the catalogue is removed.
std::uint64_t LoadStyleTemplates(CWellDataManager* mgr, std::uint64_t since);

}  // namespace davodu

#endif  // DAVODU_DATA_STYLE_TEMPLATES_H_
