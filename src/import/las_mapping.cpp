// The read-only mapping of a LAS file and the release of the pages a pass
// over it is done with.
#include <cstdint>
#include <string>

#include "davodu/import/detail/las_parse.h"

#if DAVODU_LAS_MMAP
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace davodu::las {

void PageReleaser::Release(const char* from, const char* to) const {
#if DAVODU_LAS_MMAP
  if (base_ == nullptr || from < base_ || to > base_ + size_) return;
  static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::uintptr_t begin = reinterpret_cast<std::uintptr_t>(from) / page * page;
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(to) / page * page;
  if (begin < end) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
#else
  (void)from;
  (void)to;
#endif
}

#if DAVODU_LAS_MMAP
bool FileMapping::MapFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool mapped = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                      Map(fd, static_cast<std::size_t>(info.st_size));
  close(fd);
  return mapped;
}

bool FileMapping::Map(int fd, std::size_t size) {
  void* p = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (p == MAP_FAILED) return false;
  madvise(p, size, MADV_SEQUENTIAL);
  data_ = static_cast<const char*>(p);
  size_ = size;
  return true;
}

void FileMapping::Unmap() {
  if (data_ != nullptr) munmap(const_cast<char*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}
#else
bool FileMapping::MapFile(const std::string&) { return false; }

void FileMapping::Unmap() {}
#endif

}  // namespace davodu::las
