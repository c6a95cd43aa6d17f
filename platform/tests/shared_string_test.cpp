#include <gtest/gtest.h>

#include "platform/shared_string.h"

using platform::SharedString;

TEST(SharedString, CountsReferencesAndLiveStrings) {
  const long before = platform_strings_live();
  {
    SharedString a("sin(x)");
    EXPECT_EQ(a.view(), "sin(x)");
    EXPECT_EQ(a.get()[6], '\0');
    EXPECT_EQ(platform_string_refs(a.get()), 1);
    EXPECT_EQ(platform_strings_live(), before + 1);
    {
      SharedString b = a;
      SharedString c = SharedString::share(a.get());
      EXPECT_EQ(b.get(), a.get());
      EXPECT_EQ(platform_string_refs(a.get()), 3);
    }
    EXPECT_EQ(platform_string_refs(a.get()), 1);
    SharedString moved = std::move(a);
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_EQ(platform_string_refs(moved.get()), 1);
    EXPECT_EQ(platform_strings_live(), before + 1);
  }
  EXPECT_EQ(platform_strings_live(), before);
}

TEST(SharedString, EmptyIsNullAndConstantsAreNeverFreed) {
  const long before = platform_strings_live();
  EXPECT_EQ(platform_string_new("abc", 0), nullptr);
  SharedString empty("");
  EXPECT_EQ(empty.get(), nullptr);
  EXPECT_EQ(empty.view(), "");
  EXPECT_EQ(platform_string_refs(nullptr), 0);
  platform_string_release(nullptr);
  EXPECT_EQ(platform_string_add_ref(nullptr), nullptr);

  static constinit platform::ConstantString kText{"abc"};
  for (int i = 0; i < 3; ++i) {
    SharedString s = SharedString::adopt(platform_string_add_ref(kText.get()));
    EXPECT_EQ(s.view(), "abc");
  }
  platform_string_release(kText.get());
  EXPECT_EQ(platform_string_refs(kText.get()), -1);
  EXPECT_EQ(platform_strings_live(), before);
}

TEST(SharedString, TextWithZerosKeepsItsLength) {
  SharedString s(std::string_view("a\0b", 3));
  EXPECT_EQ(platform_string_length(s.get()), 3u);
  EXPECT_EQ(s.view(), std::string_view("a\0b", 3));
}
