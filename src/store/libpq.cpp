#include "davodu/store/detail/libpq.h"

#include <dlfcn.h>

#include <string>

#include "davodu/store/detail/sql_db.h"

namespace davodu::sql {
namespace {

constexpr char kLibrary[] = "libpq.so.5";

LibPq Load() {
  void* handle = ::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    throw Error(std::string("PostgreSQL databases need the client library ") + kLibrary +
                    " (Debian package libpq5): " + (why ? why : "not found"),
                Error::kConnection);
  }
  // The library stays loaded for the life of the process.
  LibPq lib;
#define DAVODU_LIBPQ_RESOLVE(name)                                                      \
  lib.name = reinterpret_cast<decltype(lib.name)>(::dlsym(handle, #name));              \
  if (!lib.name)                                                                        \
    throw Error(std::string(kLibrary) + " has no function " #name, Error::kConnection);
  DAVODU_LIBPQ_FUNCTIONS(DAVODU_LIBPQ_RESOLVE)
#undef DAVODU_LIBPQ_RESOLVE
  return lib;
}

}  // namespace

const LibPq& Pq() {
  static const LibPq lib = Load();
  return lib;
}

}  // namespace davodu::sql
