// AtomicFile: writes a file so that, whatever happens, the file keeps either
// its previous content or the complete new one, never a part of it.
//
// The bytes go to a temporary file with a name of its own (".NAME.XXXXXXXXXXXXXXXX.tmp")
// in the folder of the target, so that two writers of one target never
// share a temporary file and the final rename stays on one file system.
// Commit flushes the temporary file to disk, gives it the permissions (and,
// where allowed, the owner) of the file it replaces, renames it over the
// target and flushes the folder. A new file gets mode 0666 less the umask.
//
// A target that is a symbolic link is followed, through any chain of links:
// the file it points to is replaced and the link stays a link. A target
// that exists but is not a regular file (a folder, a device), or that is
// read-only, is refused.
//
// Every failure (create, write, flush, rename) returns false with an error
// that names the target as given: "cannot write PATH: No space left on
// device". The temporary file is then removed; so is the temporary file of
// an AtomicFile destroyed, or reopened, before Commit.
//
// Not thread-safe: one AtomicFile per writer.
#ifndef DAVODU_HOST_UTIL_ATOMIC_FILE_H_
#define DAVODU_HOST_UTIL_ATOMIC_FILE_H_

#include <string>
#include <string_view>

namespace davodu {

class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Starts writing a new content for path. Nothing is changed at path until
  // Commit. False with *error when the temporary file cannot be created or
  // the target cannot be replaced.
  bool Open(const std::string& path, std::string* error);
  // Appends bytes to the new content; false with *error on a failed write
  // (the file is then abandoned).
  bool Append(std::string_view data, std::string* error);
  // Replaces the target by the new content; false with *error on failure
  // (the target is then unchanged and the temporary file removed).
  bool Commit(std::string* error);
  // Gives up the new content: the temporary file is removed, the target
  // left alone.
  void Abandon();

  bool is_open() const { return fd_ >= 0; }
  // The target as given to Open.
  const std::string& path() const { return path_; }

 private:
  bool Fail(int err, std::string* error);

  std::string path_;    // as given
  std::string target_;  // with symbolic links followed
  std::string temp_;
  int fd_ = -1;
  bool replaces_ = false;  // the target exists and its mode is kept
  unsigned mode_ = 0;
  unsigned uid_ = 0;
  unsigned gid_ = 0;
};

// Writes a whole file atomically (see AtomicFile); false with *error naming
// the file on failure.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error);

}  // namespace davodu

#endif  // DAVODU_HOST_UTIL_ATOMIC_FILE_H_
