#include "catalogue/reset.hpp"

#include <cstring>
#include <memory>

#include "catalogue/gcmtblk.hpp"
#include "catalogue/gcmtread.hpp"
#include "catalogue/seistest.hpp"
#include "frame/reset.hpp"

namespace korbast::catalogue {

void reset() {
  // As at program start: the storage zeroed, then the store's constructor (which relies on
  // that for its numbers) sets its texts.
  std::destroy_at(&gcmtblk);
  std::memset(static_cast<void*>(&gcmtblk), 0, sizeof gcmtblk);
  std::construct_at(&gcmtblk);
  frame::reset_blocks(reader_state, seistest2);
}

}  // namespace korbast::catalogue
