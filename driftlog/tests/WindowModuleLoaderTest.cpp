#include "driftlog/core/WindowModuleLoader.h"
#include "common/core/Failure.h"

#include <gtest/gtest.h>

TEST(WindowModuleLoader, MissingOrDamagedImageIsAFailureNotACrash)
{
    char arg0[] = "Driftlog";
    char *argv[] = {arg0, nullptr};
    EXPECT_THROW(lumen::driftlog::WindowModuleLoader::run({}, 1, argv), lumen::Failure);
    EXPECT_THROW(lumen::driftlog::WindowModuleLoader::run("\x7f"
                                                          "ELF not really a module",
                                                          1, argv),
                 lumen::Failure);
}
