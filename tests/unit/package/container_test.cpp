#include <gtest/gtest.h>

#include "package/container.h"
#include "test_support.h"

namespace kx {
namespace {

using test::TempDir;

std::string Prefix(size_t n, char fill) { return std::string(n, fill); }

TEST(Container, MarkerIsThePlainTextIncreasedByOne) {
  EXPECT_EQ(ContainerMarker(), "|LYSFTSPVSDF~");
  // The plain text is not a marker.
  EXPECT_FALSE(FindMarkerIn(std::string("{KXRESROURCE}") + std::string(4, '\0')).found);
}

TEST(Container, FindsMarkerAtAnyOffsetIncludingBlockBoundaries) {
  TempDir dir;
  const std::string c = WriteContainer({"abc"});
  // offset 0, a marker split over the 1001-byte block boundary, several megabytes in, and
  // a marker preceded by its own first byte (the broken match re-tests that byte).
  const struct { std::string prefix; int64_t pos; } cases[] = {
      {"", 13},
      {Prefix(995, 'x'), 995 + 13},
      {Prefix(3 << 20, 'z'), (3 << 20) + 13},
      {"|", 1 + 13},
      {"|LYS|", 5 + 13},
  };
  for (const auto& k : cases) {
    const std::string path = dir.Write("f", k.prefix + c);
    MarkerPosition m = FindPackageMarker(path);
    ASSERT_TRUE(m.found) << k.prefix.size();
    EXPECT_EQ(m.position, k.pos);
    EXPECT_EQ(m.count, 1);
    EXPECT_EQ(FindMarkerIn(k.prefix + c).position, k.pos);
  }
  EXPECT_FALSE(FindPackageMarker(dir.Write("none", Prefix(5000, 'q'))).found);
  EXPECT_FALSE(FindPackageMarker(dir / "missing").found);
}

TEST(Container, ExtractWritesPartsUpToTheSmallerCount) {
  TempDir dir;
  const std::string big1001(1001, 'a'), big1002(1002, 'b');
  const std::string src = dir.Write("src", "junk" + WriteContainer({"one", "", big1001, big1002}));
  // Four parts and three names: the fourth is not written. Parts of length 0, 1001 and
  // 1002 are copied exactly.
  EXPECT_EQ(ExtractContainerParts(src, {dir / "a", dir / "b", dir / "c"}), 3);
  EXPECT_EQ(dir.Read("a"), "one");
  EXPECT_TRUE(fs::FileExists(dir / "b"));
  EXPECT_EQ(dir.Read("b"), "");
  EXPECT_EQ(dir.Read("c"), big1001);

  const std::string two = dir.Write("two", WriteContainer({"x", "y"}));
  EXPECT_EQ(ExtractContainerParts(two, {dir / "p", dir / "q", dir / "r", dir / "s"}), 2);
  EXPECT_FALSE(fs::FileExists(dir / "r"));

  const std::string zero = dir.Write("zero", WriteContainer({}));
  EXPECT_EQ(ExtractContainerParts(zero, {dir / "z"}), 0);
  EXPECT_FALSE(fs::FileExists(dir / "z"));

  auto parts = ReadContainerPartsFromFile(src);
  ASSERT_TRUE(parts);
  ASSERT_EQ(parts->size(), 4u);
  EXPECT_EQ((*parts)[3], big1002);
}

TEST(Container, TruncatedAndHostileLengthsKeepWhatIsThere) {
  TempDir dir;
  std::string c = WriteContainer({"hello world", "second"});
  // The file ends three bytes into part 2: it is written with the bytes that are there.
  const std::string path = dir.Write("t", c.substr(0, c.size() - 3));
  EXPECT_EQ(ExtractContainerParts(path, {dir / "a", dir / "b"}), 2);
  EXPECT_EQ(dir.Read("a"), "hello world");
  EXPECT_EQ(dir.Read("b"), "sec");

  // A huge length and a negative length neither allocate nor crash.
  std::string hostile = ContainerMarker() + std::string("\x02\0\0\0", 4) + std::string("\xff\xff\xff\x7f", 4) + "abc";
  auto parts = ReadContainerParts(hostile);
  ASSERT_TRUE(parts);
  ASSERT_EQ(parts->size(), 1u);
  EXPECT_EQ((*parts)[0], "abc");
  std::string negative = ContainerMarker() + std::string("\x01\0\0\0", 4) + std::string("\xff\xff\xff\xff", 4) + "abc";
  parts = ReadContainerParts(negative);
  ASSERT_TRUE(parts);
  EXPECT_EQ((*parts)[0], "");
  EXPECT_EQ(ExtractContainerParts(dir.Write("h", hostile), {dir / "h1", dir / "h2"}), 1);
  EXPECT_EQ(dir.Read("h1"), "abc");
}

}  // namespace
}  // namespace kx
