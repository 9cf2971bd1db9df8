// Test entry point: prepares the class library offscreen and points the bundle's Resources folder at the build's copy
// before any test runs.
#include <cstdlib>

#include <gtest/gtest.h>

#include "classlib/ClassLib.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  classlib::RuntimeInitForTesting(argc, argv);
  if (const char* resources = std::getenv("TOVARINE_TEST_RESOURCES")) classlib::SetApplicationBundleResourcesForTesting(resources);
  return RUN_ALL_TESTS();
}
