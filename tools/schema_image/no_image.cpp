// The empty schema image the image maker itself is linked with: its
// databases are made by executing the schema.
#include "davodu/store/detail/schema_image.h"

namespace davodu::welldb {

const SchemaImage kSchemaImage{0, 0, nullptr, 0, nullptr};

}  // namespace davodu::welldb
