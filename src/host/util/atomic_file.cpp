#include "davodu/host/util/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>
#include <vector>

namespace davodu {
namespace {

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinks = 40;
// Room left in a file name for the temporary name's dot, tag and suffix.
constexpr std::size_t kMaxBaseInTempName = 200;

std::string ErrnoText(int err) { return std::error_code(err, std::generic_category()).message(); }

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows the symbolic links of path to the file they name (which need not
// exist yet). False with *err set when the chain does not end.
bool FollowLinks(const std::string& path, std::string* target, int* err) {
  std::string p = path;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      // Not there (yet), or not a link: the caller's checks take over.
      *target = p;
      return true;
    }
    std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(p.c_str(), buffer.data(), buffer.size());
    if (n < 0) {
      *err = errno;
      return false;
    }
    if (static_cast<std::size_t>(n) >= buffer.size()) {  // the link grew meanwhile
      *err = ENAMETOOLONG;
      return false;
    }
    std::string link(buffer.data(), static_cast<std::size_t>(n));
    p = (!link.empty() && link.front() == '/') ? link : FolderOf(p) + "/" + link;
  }
  *err = ELOOP;
  return false;
}

std::uint64_t RandomTag() {
  thread_local std::mt19937_64 generator([] {
    std::random_device device;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^
           (static_cast<std::uint64_t>(::getpid()) << 20) ^ static_cast<std::uint64_t>(now);
  }());
  return generator();
}

}  // namespace

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Fail(int err, std::string* error) {
  if (error) *error = "cannot write " + path_ + ": " + ErrnoText(err);
  Abandon();
  return false;
}

void AtomicFile::Abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temp_.c_str());
  fd_ = -1;
  temp_.clear();
}

bool AtomicFile::Open(const std::string& path, std::string* error) {
  Abandon();
  path_ = path;
  replaces_ = false;
  int err = 0;
  if (path.empty()) return Fail(ENOENT, error);
  if (!FollowLinks(path, &target_, &err)) return Fail(err, error);

  struct stat st;
  if (::stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR, error);
    if (!S_ISREG(st.st_mode)) {
      if (error) *error = "cannot write " + path_ + ": not a regular file";
      return false;
    }
    // A read-only file stays as it is, as it would for a plain write.
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) return Fail(errno, error);
    replaces_ = true;
    mode_ = st.st_mode & 07777;
    uid_ = st.st_uid;
    gid_ = st.st_gid;
  } else if (errno != ENOENT) {
    return Fail(errno, error);
  }

  const std::string folder = FolderOf(target_);
  std::string base = BaseOf(target_);
  if (base.size() > kMaxBaseInTempName) base.resize(kMaxBaseInTempName);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char tag[32];
    std::snprintf(tag, sizeof tag, ".%016" PRIx64 ".tmp", RandomTag());
    temp_ = (folder == "/" ? "/." : folder + "/.") + base + tag;
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) return true;
    if (errno != EEXIST) {
      err = errno;
      temp_.clear();
      return Fail(err, error);
    }
  }
  temp_.clear();
  return Fail(EEXIST, error);
}

bool AtomicFile::Append(std::string_view data, std::string* error) {
  if (fd_ < 0) return Fail(EBADF, error);
  while (!data.empty()) {
    const ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : ENOSPC, error);
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool AtomicFile::Commit(std::string* error) {
  if (fd_ < 0) return Fail(EBADF, error);
  if (replaces_) {
    struct stat st;
    // The owner first: changing it may clear the set-id bits of the mode.
    // Only a privileged writer can give a file away; others keep their own.
    if (::fstat(fd_, &st) == 0 && (st.st_uid != uid_ || st.st_gid != gid_))
      (void)::fchown(fd_, uid_, gid_);
    if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) return Fail(errno, error);
  }
  if (::fsync(fd_) != 0) return Fail(errno, error);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    return Fail(err, error);
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    return Fail(err, error);
  }
  temp_.clear();
  // Make the rename itself durable.
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error) {
  AtomicFile file;
  return file.Open(path, error) && file.Append(data, error) && file.Commit(error);
}

}  // namespace davodu
