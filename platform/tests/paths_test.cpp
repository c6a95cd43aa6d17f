#include <gtest/gtest.h>

#include "platform/paths.h"

using namespace platform;

TEST(Paths, JoinAndSplit) {
  const struct {
    const char* dir;
    const char* name;
    const char* joined;
  } joins[] = {
      {"/opt/pakro/", "DIODE.DEF", "/opt/pakro/DIODE.DEF"},
      {"/opt/pakro", "CLCC\\BCAT.BAT", "/opt/pakro/CLCC/BCAT.BAT"},
      {"/opt/zan", "\\Packages", "/opt/zan/Packages"},
      {"", "a.lbr", "a.lbr"},
  };
  for (const auto& j : joins) EXPECT_EQ(joinPath(j.dir, j.name), j.joined);

  EXPECT_EQ(directoryOf("/a/b/c.LBR"), "/a/b/");
  EXPECT_EQ(directoryOf("c.LBR"), "");
  EXPECT_EQ(fileNameOf("/a/b/c.LBR"), "c.LBR");
  EXPECT_EQ(extensionOf("/a.d/b"), "");
  EXPECT_EQ(extensionOf("/a/b.tar.LBR"), ".LBR");
  EXPECT_EQ(changeExtension("/a/b.SRC", ".BAK"), "/a/b.BAK");
  EXPECT_EQ(changeExtension("/a.d/b", ".DDB"), "/a.d/b.DDB");
  EXPECT_EQ(executableDir().back(), '/');
}
