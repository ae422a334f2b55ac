#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "platform/property_bag.h"

namespace ludex {
namespace {

TEST(PropertyBag, NamesMatchWithoutRegardToCase) {
  PropertyBag bag;
  bag.Store("captioncolor", std::int32_t{255});
  EXPECT_EQ(bag.ReadInt32("CaptionColor", 0), 255);
  EXPECT_EQ(bag.ReadInt32("CAPTIONCOLOR", 0), 255);
  EXPECT_EQ(bag.ReadInt32("Caption", 7), 7);  // a prefix is another name
}

TEST(PropertyBag, MissingEntriesGiveTheDefault) {
  const PropertyBag bag;
  EXPECT_TRUE(bag.ReadBool("Enabled", true));
  EXPECT_EQ(bag.ReadText("Caption", "Button"), "Button");
  EXPECT_EQ(bag.ReadInt32("BackColor", 0x00F4F4F4), 0x00F4F4F4);
  EXPECT_FLOAT_EQ(bag.ReadSingle("TitleHeight", 495.0f), 495.0f);
}

TEST(PropertyBag, WritingTheDefaultStoresNothing) {
  PropertyBag bag;
  bag.Write("Enabled", true, true);
  bag.Write("Caption", std::string("Button"), std::string("Button"));
  bag.Write("TitleHeight", 495.0f, std::int32_t{495});
  EXPECT_TRUE(bag.empty());
}

TEST(PropertyBag, WritingKeepsOrderAndStoresLowerCase) {
  PropertyBag bag;
  bag.Write("Caption", std::string("傲视天地"), std::string("Button"));
  bag.Write("CaptionColor", std::int32_t{0x00FF00FF}, std::int32_t{0});
  bag.Write("Enabled", false, true);
  ASSERT_EQ(bag.entries().size(), 3u);
  EXPECT_EQ(bag.entries()[0].name, "caption");
  EXPECT_EQ(bag.entries()[1].name, "captioncolor");
  EXPECT_EQ(bag.entries()[2].name, "enabled");
  // Writing an entry again replaces it in place; writing its default removes it.
  bag.Write("CAPTION", std::string("天策"), std::string("Button"));
  EXPECT_EQ(bag.entries()[0].name, "caption");
  EXPECT_EQ(std::get<std::string>(bag.entries()[0].value), "天策");
  bag.Write("captioncolor", std::int32_t{0}, std::int32_t{0});
  ASSERT_EQ(bag.entries().size(), 2u);
  EXPECT_EQ(bag.entries()[1].name, "enabled");
}

TEST(PropertyBag, ConversionsOnReading) {
  PropertyBag bag;
  bag.Store("a", std::int32_t{-1});
  bag.Store("b", std::string("0x80000008"));
  bag.Store("c", 494.5f);
  bag.Store("d", false);
  bag.Store("e", std::string(" 12 "));
  EXPECT_TRUE(bag.ReadBool("a", false));
  EXPECT_EQ(static_cast<std::uint32_t>(bag.ReadInt32("b", 0)), 0x80000008u);
  EXPECT_EQ(bag.ReadInt32("c", 0), 494);  // half to even
  EXPECT_EQ(bag.ReadInt32("d", 5), 0);
  EXPECT_EQ(bag.ReadText("d", ""), "False");
  EXPECT_EQ(bag.ReadInt32("e", 0), 12);
}

TEST(PropertyBag, AnUnconvertibleValueNamesItsEntry) {
  PropertyBag bag;
  bag.Store("BackColor", std::string("light green"));
  bag.Store("TitleHeight", 1e20f);
  try {
    bag.ReadInt32("backcolor", 0);
    FAIL() << "expected an error";
  } catch (const PropertyError& e) {
    EXPECT_EQ(e.key(), "backcolor");
  }
  EXPECT_THROW(bag.ReadInt32("TitleHeight", 0), PropertyError);
}

TEST(PropertyBag, SinglesReadBackExactlyFromTheirShortestText) {
  PropertyBag bag;
  // The largest single, 3.40282346...e38, is written "3.4028235e+38": above it, but nearer to it than to anything else.
  bag.Store("a", std::string("3.4028235e+38"));
  bag.Store("b", std::string("-3.4028235e+38"));
  // Beyond half a step (2^103) over the largest single there is none.
  bag.Store("c", std::string("3.4028236e+38"));
  // 7.038531e-26 lies just below the midpoint of the singles 0x15AE43FD and 0x15AE43FE, so it names
  // 0x15AE43FD; the nearest double is the midpoint itself, which would round on to the even 0x15AE43FE.
  bag.Store("d", std::string("7.038531e-26"));
  EXPECT_EQ(bag.ReadSingle("a", 0), std::numeric_limits<float>::max());
  EXPECT_EQ(bag.ReadSingle("b", 0), -std::numeric_limits<float>::max());
  EXPECT_THROW(bag.ReadSingle("c", 0), PropertyError);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(bag.ReadSingle("d", 0)), 0x15AE43FDu);
  EXPECT_EQ(ToText(std::bit_cast<float>(0x15AE43FDu), "d"), "7.038531e-26");  // seven digits are needed
  bag.Write("e", std::numeric_limits<float>::max(), 0.0f);
  EXPECT_EQ(ToSingle(bag.ReadText("e", ""), "e"), std::numeric_limits<float>::max());
}

}  // namespace
}  // namespace ludex
