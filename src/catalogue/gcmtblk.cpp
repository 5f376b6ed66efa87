#include "catalogue/gcmtblk.hpp"

#include <cstring>

namespace korbast::catalogue {

namespace {

template <std::size_t N>
void zero_texts(Text<N> (&texts)[nmaxdata]) {
  for (auto& t : texts) std::memset(t.data(), 0, N);
}

}  // namespace

// The numeric arrays are zero already (static storage); the texts start as zero bytes rather
// than the blanks a fresh text holds.
Gcmtblk::Gcmtblk() {
  zero_texts(date1);
  zero_texts(time);
  zero_texts(region);
  zero_texts(hyporef);
  zero_texts(cmtlabel);
  zero_texts(bwc);
  zero_texts(swc);
  zero_texts(mwc);
  zero_texts(invtypc);
  zero_texts(mtrttypc);
  zero_texts(clab);
  zero_texts(cdeptyp);
  zero_texts(cstamp);
  zero_texts(cvers);
}

Gcmtblk gcmtblk;

}  // namespace korbast::catalogue
