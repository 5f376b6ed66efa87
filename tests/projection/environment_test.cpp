// The projections read the program's angle blocks, which the program fills at start-up before
// any projection runs. The test program does the same once, before the first test.
#include <gtest/gtest.h>

#include "frame/angles.hpp"
#include "support/console.hpp"

namespace korbast::projection {
namespace {

class AngleBlocks : public ::testing::Environment {
 public:
  void SetUp() override {
    testing::Console console;  // its two initialising lines go to a string
    frame::trigoset();
  }
};

::testing::Environment* const angle_blocks = ::testing::AddGlobalTestEnvironment(new AngleBlocks);

}  // namespace
}  // namespace korbast::projection
