#include <gtest/gtest.h>
#include "core/strings.h"
TEST(Strings, MissingLibraryGivesEmptyText) {
    TResStringManager m(QString{});
    EXPECT_TRUE(m.GetString(6).isEmpty());
}
