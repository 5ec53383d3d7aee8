// Making a new SQLite well database file: written from the schema image (or
// by executing the schema) into a temporary file beside its name, then
// synced once and linked into place, so that nobody sees half a database.
//
// Two processes may create the same file at once. The creator holds a lock
// on the folder (flock) from before it looks for the file until the file
// is in place; the other waits, then finds the file and opens it. On a file
// system without locks the lock is not held, a file is put in place at once
// and a creator that finds the name taken by then uses the other's file.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "davodu/store/detail/schema_image.h"
#include "davodu/store/detail/well_db.h"
#include "davodu/store/detail/well_db_sql.h"

namespace davodu {
namespace {

std::string Errno(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

// Flushes a file or folder to the disk.
void SyncPath(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) throw sql::Error(Errno("cannot open", path));
  const int rc = ::fsync(fd);
  ::close(fd);
  if (rc != 0) throw sql::Error(Errno("cannot sync", path));
}

// Removes a database file being made and what SQLite kept beside it.
void Discard(const std::string& temp) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) ::unlink((temp + suffix).c_str());
}

// Removes the files a creator of the database at path left behind when it
// was stopped while making it ("wells.db.new-XXXXXX" and what SQLite kept
// beside them). Only under the folder's lock: every creator holds it until
// its file is in place, so the files that remain then are nobody's.
void DiscardLeftovers(const std::string& folder, const std::string& path) {
  const std::string prefix = std::filesystem::path(path).filename().string() + ".new-";
  std::error_code ec;
  std::vector<std::string> gone;
  for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    std::string_view rest = std::string_view(name).substr(prefix.size());
    for (const std::string_view suffix : {"-wal", "-shm", "-journal"}) {
      if (rest.ends_with(suffix)) rest.remove_suffix(suffix.size());
    }
    if (rest.size() == 6) gone.push_back(it->path().string());  // mkstemp's six letters
  }
  for (const std::string& file : gone) ::unlink(file.c_str());
}

// An exclusive lock on a folder, held while a database file is made in it.
class FolderLock {
 public:
  FolderLock() = default;
  // Waits up to ten seconds for the lock on the folder of path. Throws when
  // another process holds it longer; holds nothing when the folder cannot
  // be locked at all.
  FolderLock(const std::string& folder, const std::string& path) {
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) throw sql::Error(Errno("cannot create", path));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK) {  // no locks on this file system
        Release();
        return;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        Release();
        throw sql::Error("cannot create " + path + ": another process has been creating a database in " +
                             folder + " for ten seconds",
                         sql::Error::kBusy);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock() { Release(); }

  bool held() const { return fd_ >= 0; }
  // Closing the folder releases the lock.
  void Release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

}  // namespace

namespace welldb {

bool WriteSchemaImage(int fd, const std::string& path) {
  const SchemaImage& image = kSchemaImage;
  if (image.file_size == 0 || image.schema_version != kSchemaVersion) return false;
  // The zeros between the runs are holes: reading them gives zeros.
  if (::ftruncate(fd, static_cast<off_t>(image.file_size)) != 0) throw sql::Error(Errno("cannot write", path));
  for (std::size_t i = 0; i < image.run_count; ++i) {
    const SchemaImageRun& run = image.runs[i];
    const unsigned char* p = image.bytes + run.data;
    std::size_t left = run.size;
    auto at = static_cast<off_t>(run.offset);
    while (left > 0) {
      const ssize_t n = ::pwrite(fd, p, left, at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw sql::Error(Errno("cannot write", path));
      p += n;
      at += n;
      left -= static_cast<std::size_t>(n);
    }
  }
  return true;
}

}  // namespace welldb

struct WellDb::StagedFile {
  StagedFile(const std::string& path_in, const std::string& folder_in)
      : path(path_in), folder(folder_in), lock(folder, path) {}

  std::string path;  // the database's name
  std::string folder;
  FolderLock lock;
  std::string temp;  // the file being made
};

WellDb::WellDb(const std::string& path, bool put_in_place_at_first_write) {
  if (!sql::IsPostgresUri(path)) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec && CreateFile(path, put_in_place_at_first_write)) return;
  }
  OpenAndPrepare(path);
}

void WellDb::OpenAndPrepare(const std::string& path) {
  db_.Open(path);
  path_ = db_.path();
  PrepareAndWatch();
}

void WellDb::PrepareAndWatch() {
  // Several processes may open (and create) the same database at once; the
  // first to take the write lock makes the schema, the others wait for it.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    try {
      Prepare();
      break;
    } catch (const sql::Error& e) {
      if (!e.busy() || std::chrono::steady_clock::now() > deadline) throw;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  data_version_ = ChangeCounter();
}

WellDb::~WellDb() {
  // A new file that was never written to goes into place now; when that
  // fails the name stays free, as if the file had never been opened.
  if (staged_) {
    try {
      PutInPlace(false);
    } catch (const sql::Error&) {
    }
  }
}

bool WellDb::CreateFile(const std::string& path, bool stage) {
  const std::filesystem::path target(path);
  auto staged = std::make_unique<StagedFile>(
      path, target.has_parent_path() ? target.parent_path().string() : std::string("."));
  // Made by another process while this one waited for the lock.
  std::error_code ec;
  if (std::filesystem::exists(path, ec) || ec) return false;
  if (staged->lock.held()) DiscardLeftovers(staged->folder, path);

  staged->temp = path + ".new-XXXXXX";
  const int fd = ::mkstemp(staged->temp.data());
  if (fd < 0) throw sql::Error(Errno("cannot create", path));
  const std::string temp = staged->temp;
  // mkstemp makes the file private; a database gets the usual mode.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  try {
    bool from_image = false;
    try {
      from_image = welldb::WriteSchemaImage(fd, path);
    } catch (...) {
      ::close(fd);
      throw;
    }
    ::close(fd);
    db_.Open(temp);
    path_ = path;
    staged_ = std::move(staged);
    // Nobody else sees this file until it is in place: its journal stays in
    // memory (a write that fails is still undone) and it syncs nothing
    // itself; one sync when it goes into place makes it durable.
    if (!from_image) db_.Exec("PRAGMA page_size = " + std::to_string(kPageSize));
    db_.QueryText("PRAGMA journal_mode = MEMORY");
    db_.Exec("PRAGMA synchronous = OFF");
    db_.Exec("PRAGMA temp_store = MEMORY");
    if (from_image) {
      // The image was made when the library was built; the schema is this
      // file's from now.
      sql::Stmt s(db_, "UPDATE schema_version SET applied_at = ?1");
      s.Bind(1, welldb::UtcNow());
      s.Run();
    } else {
      tx_stamp_ = 0;
      sql::Transaction t(db_);
      CreateContents();
      t.Commit();
      tx_stamp_ = 0;
    }
    // Without the folder's lock another process could put its own file in
    // place meanwhile and the first write would be lost: this one goes into
    // place at once.
    if (stage && staged_->lock.held()) {
      data_version_ = ChangeCounter();
      return true;
    }
    PutInPlace(false);
    return false;
  } catch (...) {
    statements_.clear();
    db_.Close();
    staged_.reset();
    Discard(temp);
    tx_stamp_ = 0;
    throw;
  }
}

void WellDb::PutInPlace(bool after_write) {
  const std::unique_ptr<StagedFile> staged = std::move(staged_);
  try {
    // The file goes into place in the mode every well database is used in.
    statements_.clear();  // they belong to the temporary file's connection
    if (db_.QueryText("PRAGMA journal_mode = WAL") != "wal")
      throw sql::Error("cannot switch " + staged->path + " to write-ahead logging");
    db_.Close();
    SyncPath(staged->temp, O_RDONLY);
    // link() fails when the name exists: another process created the file
    // (one that does not take the folder's lock). Without a write its file
    // is as good as this one; with one, the write is not in it.
    if (::link(staged->temp.c_str(), staged->path.c_str()) != 0) {
      if (errno != EEXIST) throw sql::Error(Errno("cannot create", staged->path));
      if (after_write) {
        throw sql::Error(staged->path +
                         " was created by another program meanwhile; the write was not made: do it again");
      }
    }
    Discard(staged->temp);
    SyncPath(staged->folder, O_RDONLY | O_DIRECTORY);
  } catch (...) {
    db_.Close();
    Discard(staged->temp);
    DropCaches();
    throw;
  }
  staged->lock.Release();
  DropCaches();
  // The file is opened again under its name when next used: an import
  // that ends here does not pay for it.
  // Whatever others wrote meanwhile is not compared against: every table is
  // looked at again.
  if (after_write) {
    db_.OpenLater(staged->path, [this] {
      PrepareAndWatch();
      DropCaches();
      Invalidate();
    });
  }
}

}  // namespace davodu
