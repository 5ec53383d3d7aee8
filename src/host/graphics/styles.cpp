#include "davodu/host/graphics/styles.h"

#include <algorithm>

#include "davodu/host/util/gbk.h"

namespace davodu {

ZULOGFONT::ZULOGFONT() {
  // The face array is stored whole in documents: no stale bytes after the
  // name.
  static const std::string& default_face = Gbk("宋体");
  SetFaceName(default_face);
}

void ZULOGFONT::SetFaceName(const std::string& gbk_name) {
  // Keep room for the terminating NUL and never cut a two-byte character in
  // half: a lone lead byte would swallow whatever is appended to the name.
  const std::size_t limit = sizeof face - 1;
  std::size_t n = 0;
  while (n < gbk_name.size()) {
    const std::size_t len = static_cast<unsigned char>(gbk_name[n]) >= 0x81 ? 2 : 1;
    if (n + len > gbk_name.size() || n + len > limit) break;
    n += len;
  }
  std::fill(std::begin(face), std::end(face), '\0');
  std::copy_n(gbk_name.data(), n, face);
}

}  // namespace davodu
