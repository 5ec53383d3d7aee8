// davodu copy: copies a whole well database, also between engines.
#include <cstdio>
#include <string>

#include "commands.h"
#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_copy.h"
#include "davodu/store/well_data_manager.h"

namespace davodu::app {
namespace {

const char kCopyHelp[] =
    "usage: davodu copy --from SRC --to DST\n"
    "\n"
    "Copies a whole well database: wells, surveys, curves with their imports,\n"
    "tables, catalogues and scattered tables. SRC and DST are each a file or a\n"
    "PostgreSQL URI (postgresql://user@host/dbname), so a field moves from a\n"
    "file to the team's server and back. SRC must exist; DST is created when\n"
    "it is a new file and must hold no wells. The copy is one transaction:\n"
    "on failure DST holds nothing of it.\n";

}  // namespace

int RunCopy(const Args& args) {
  std::string from, to;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kCopyHelp, stdout);
      return 0;
    }
    if (a == "--from" || a == "--to") {
      if (i + 1 >= args.size()) return UsageError("copy: " + a + " needs a value");
      (a == "--from" ? from : to) = args[++i];
    } else {
      return UsageError("copy: unexpected argument '" + a + "'");
    }
  }
  if (from.empty() || to.empty()) return UsageError("copy needs --from SRC and --to DST");
  if (!CWellDataManager::Exists(from)) {
    std::fprintf(stderr, "davodu: no well database at %s\n", from.c_str());
    return 1;
  }
  CWellDataManager source(from), target(to);
  for (CWellDataManager* wells : {&source, &target}) {
    if (!wells->IsOpen()) {
      std::fprintf(stderr, "davodu: %s\n", wells->GetLastError().c_str());
      return 1;
    }
  }
  // A progress bar on stderr when it is a terminal.
  ConsoleDialogs console("", false);
  CProcessDialog& progress = console.Progress();
  progress.SetTitle(Gbk("复制"));
  std::string error;
  const bool ok = CopyWellDatabase(source, target, &error, [&](int done, int total, const std::string&) {
    progress.SetMaxValue(total);
    progress.SetPos(done);
  });
  progress.Uninitialize();
  if (!ok) {
    std::fprintf(stderr, "davodu: copy to %s failed: %s\n", target.GetPath().c_str(), error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace davodu::app
