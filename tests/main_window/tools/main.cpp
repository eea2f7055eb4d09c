// The tools' tests run inside the programs' own application object.
#include <gtest/gtest.h>

#include "AppHooks.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  TVarunelApplication app(argc, argv);
  TVarunelApplication::setApplicationName(QStringLiteral("Tavimo 2.1"));
  return RUN_ALL_TESTS();
}
