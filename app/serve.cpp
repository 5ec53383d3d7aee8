// davodu serve: edit charts in a browser (app/serve/).
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "commands.h"
#include "davodu/store/well_data_manager.h"
#include "serve/server.h"

namespace davodu::app {

namespace {

const char kServeHelp[] =
    "usage: davodu serve [--db FILE] [--dir CHARTS] [--bind ADDRESS] [--port N]\n"
    "\n"
    "Serves the chart documents of the folder CHARTS (default: the current\n"
    "folder) to a web browser, with the wells of the well database (--db,\n"
    "default $DAVODU_HOME/wells.db or ~/.local/share/davodu/wells.db): open a\n"
    "chart or make one from a template, drag track edges and interval\n"
    "boundaries, use the columns' menus, switch depth type and scale, save,\n"
    "and download the chart as PNG, SVG or PDF or its tables as text.\n"
    "\n"
    "The server listens on 127.0.0.1 port 8410 unless told otherwise (--port 0:\n"
    "any free port) and prints the address to open, which carries a random\n"
    "token: requests without it are refused. Stop it with Ctrl-C.\n";

bool ParsePort(const std::string& text, int* port) {
  const auto r = std::from_chars(text.data(), text.data() + text.size(), *port);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && *port >= 0 && *port <= 65535;
}

}  // namespace

int RunServe(const Args& args) {
  std::string db, dir = ".", bind = "127.0.0.1", port_text;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kServeHelp, stdout);
      return 0;
    }
    if (a == "--db" || a == "--dir" || a == "--bind" || a == "--port") {
      if (i + 1 >= args.size()) return UsageError("serve: " + a + " needs a value");
      std::string* target = a == "--db" ? &db : a == "--dir" ? &dir : a == "--bind" ? &bind : &port_text;
      *target = args[++i];
    } else {
      return UsageError("serve: unexpected argument '" + a + "'");
    }
  }
  serve::ServeOptions options;
  if (!port_text.empty() && !ParsePort(port_text, &options.port))
    return UsageError("serve: --port '" + port_text + "' is not a port number (0 to 65535)");
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    std::fprintf(stderr, "davodu: serve: %s is not a folder\n", dir.c_str());
    return 1;
  }
  options.dir = std::filesystem::canonical(dir, ec);
  options.bind = bind;

  const std::string db_path = db.empty() ? CWellDataManager::DefaultPath() : db;
  if (!std::filesystem::exists(db_path)) {
    std::fprintf(stderr, "davodu: no well database at %s\n", db_path.c_str());
    return 1;
  }
  CWellDataManager& wells = *CWellDataManager::Instance();
  if (!wells.Open(db_path)) {
    std::fprintf(stderr, "davodu: %s: %s\n", db_path.c_str(), wells.GetLastError().c_str());
    return 1;
  }

  // The sessions' export files live in a folder of their own, removed at exit.
  std::string work = (std::filesystem::temp_directory_path(ec) / "davodu-serve-XXXXXX").string();
  if (ec || ::mkdtemp(work.data()) == nullptr) {
    std::fprintf(stderr, "davodu: serve: cannot make a temporary folder\n");
    return 1;
  }
  options.work_dir = work;

  // Ctrl-C and SIGTERM are taken by a thread of their own, which stops the
  // server; the worker threads never see them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  int code = 0;
  {
    serve::Server server(options);
    std::string error;
    if (!server.Bind(&error)) {
      std::fprintf(stderr, "davodu: serve: %s\n", error.c_str());
      code = 1;
    } else {
      const bool loopback = bind.rfind("127.", 0) == 0 || bind == "::1" || bind == "localhost";
      if (!loopback)
        std::fprintf(stderr,
                     "davodu: serve: listening on %s: other machines can reach the server "
                     "(the token is still required)\n",
                     bind.c_str());
      std::printf("davodu: serving %s with %s\nopen %s\n", options.dir.string().c_str(),
                  db_path.c_str(), server.Url().c_str());
      std::fflush(stdout);
      std::thread stopper([&server, &stop_signals] {
        int signal = 0;
        sigwait(&stop_signals, &signal);
        server.Stop();
      });
      server.Run();
      // Run returns when the server stopped; a stop of another cause
      // leaves the signal thread waiting, so it is woken up.
      pthread_kill(stopper.native_handle(), SIGTERM);
      stopper.join();
    }
  }
  std::filesystem::remove_all(work, ec);
  return code;
}

}  // namespace davodu::app
