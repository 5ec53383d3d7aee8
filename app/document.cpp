// davodu dump and davodu upgrade: look inside chart documents and rewrite
// them in the current format.
#include <cstdio>
#include <iostream>
#include <string>

#include "commands.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/records/record_dump.h"

namespace davodu::app {

namespace {

const char kDumpHelp[] =
    "usage: davodu dump FILE.wpd\n"
    "\n"
    "Prints every record of a chart document, one a line, indented by the\n"
    "object it belongs to: the record number, then its elements (texts in\n"
    "UTF-8, byte blocks in hex).\n";

const char kUpgradeHelp[] =
    "usage: davodu upgrade IN.wpd OUT.wpd\n"
    "\n"
    "Reads a chart document, applying the conversions of older formats, and\n"
    "writes it in the current format.\n";

bool WantsHelp(const Args& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

}  // namespace

int RunDump(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kDumpHelp, stdout);
    return 0;
  }
  if (args.size() != 1) return UsageError("dump: expected one document, got " + std::to_string(args.size()));
  std::string error;
  const bool ok = DumpDocument(args[0], std::cout, &error);
  std::cout.flush();
  if (!ok) {
    std::fprintf(stderr, "davodu: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

int RunUpgrade(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kUpgradeHelp, stdout);
    return 0;
  }
  if (args.size() != 2) return UsageError("upgrade: expected IN.wpd OUT.wpd");
  CZuMapFile doc;
  std::string error;
  if (!doc.ReadFromFile(args[0], 1, &error) || !doc.SaveToFile(args[1], &error)) {
    std::fprintf(stderr, "davodu: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace davodu::app
