// The subcommands of the davodu command. Each takes its arguments (after the
// subcommand name) and returns the process exit code.
#ifndef DAVODU_APP_COMMANDS_H_
#define DAVODU_APP_COMMANDS_H_

#include <string>
#include <vector>

namespace davodu::app {

using Args = std::vector<std::string>;

int RunDemo(const Args& args);
int RunDump(const Args& args);
int RunUpgrade(const Args& args);
int RunImport(const Args& args);
int RunShow(const Args& args);
int RunBuild(const Args& args);
int RunRender(const Args& args);
int RunExport(const Args& args);
int RunPatterns(const Args& args);
int RunServe(const Args& args);
int RunCopy(const Args& args);

// Creates a folder and its parents; false, with a message on stderr, when
// that fails.
bool MakeDir(const std::string& dir);

// Prints "davodu: message" on stderr and returns 2, the exit code of bad
// arguments.
int UsageError(const std::string& message);

}  // namespace davodu::app

#endif  // DAVODU_APP_COMMANDS_H_
