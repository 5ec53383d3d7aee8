// The files of the page, built into the program from app/serve/page/ (the
// build turns each into a byte array; there is no other build step).
#ifndef DAVODU_APP_SERVE_PAGE_ASSETS_H_
#define DAVODU_APP_SERVE_PAGE_ASSETS_H_

#include <cstddef>

namespace davodu::serve {

struct PageAsset {
  const char* name;  // file name, e.g. "app.js"
  const unsigned char* data;
  std::size_t size;
};

extern const PageAsset kPageAssets[];
extern const std::size_t kPageAssetCount;

}  // namespace davodu::serve

#endif  // DAVODU_APP_SERVE_PAGE_ASSETS_H_
