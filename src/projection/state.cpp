#include "projection/state.hpp"

namespace korbast::projection {

ProjtypeBlock projtype{};
LlorigBlock llorig{};
LlpparamBlock llpparam{};
DerivedBlock derived{};
EllipsoidBlock ellipsoid{};
ForimwpolyBlock forimwpoly{};
A2bBlock a2b{};

}  // namespace korbast::projection
