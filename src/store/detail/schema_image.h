// The file of a new, empty well database (schema, seeded catalogues, first
// stamp), made once when the library is built: a new database file is
// written from it instead of executing some eighty CREATE statements, which
// took SQLite three quarters of the time of a small import.
//
// The image is made by tools/schema_image from a database that WellDb
// created by executing its schema, so the two never differ (a test compares
// them). Its pages are mostly zeros: only the runs of bytes that are not
// zero are kept, and the rest of the file is left as holes.
#ifndef DAVODU_STORE_DETAIL_SCHEMA_IMAGE_H_
#define DAVODU_STORE_DETAIL_SCHEMA_IMAGE_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace davodu::welldb {

struct SchemaImageRun {
  std::uint64_t offset;  // in the file
  std::uint32_t size;
  std::uint32_t data;  // position in SchemaImage::bytes
};

struct SchemaImage {
  std::uint64_t file_size;  // 0: the build has no image
  std::int64_t schema_version;
  const SchemaImageRun* runs;
  std::size_t run_count;
  const unsigned char* bytes;
};

// Defined by the source the build generates (or, while the image itself is
// being made, by an empty one).
extern const SchemaImage kSchemaImage;

// Writes the image into the empty file fd (of path, for messages); false
// when the build has none or made it for another schema version. Throws
// sql::Error when the file cannot be written.
bool WriteSchemaImage(int fd, const std::string& path);

}  // namespace davodu::welldb

#endif  // DAVODU_STORE_DETAIL_SCHEMA_IMAGE_H_
