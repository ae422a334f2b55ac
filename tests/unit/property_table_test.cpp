// The three skinned controls' property tables, read and written through the
// property bag: each stored property's default and stored type, the bag's
// order, a new instance's values, and loading stopping at a bad value. What
// loading does besides is in each control's *_persistence_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "controls/button/jyx_button.h"
#include "controls/skin/jyx_skin.h"
#include "controls/wincase/jyx_win_case.h"
#include "headless_fixture.h"

namespace ludex {
namespace {

// A stored property; a control's rows are in the bag's order.
struct Row {
  std::string_view name;
  PropertyValue default_value;  // what loading an empty bag gives, of the stored type
  PropertyValue other;          // a value that is not the default
  PropertyValue fresh;          // what a new instance has
};

constexpr std::int32_t AsStored(Color colour) { return static_cast<std::int32_t>(colour); }

template <typename Control>
extern const std::vector<Row> kRows;

// Caption and CaptionColor live in the caption label, which keeps its designer values in a new instance.
template <>
const std::vector<Row> kRows<JyxButton> = {
    {"Enabled", true, false, true},
    {"Caption", "Button", "天策", "Capion"},
    {"BackColor", 0x00F4F4F4, 0x00C0C0C0, 0x00F4F4F4},
    {"CaptionColor", 0, 0x000000FF, AsStored(kSysWindowText)},
};

template <>
const std::vector<Row> kRows<JyxSkin> = {
    {"Enabled", true, false, true},
    {"BackColor", 0x00404040, 0x00123456, 0x00404040},
    {"CaptionColor", 0x00E0E0E0, 0x00654321, 0x00E0E0E0},
    {"ArrayStyle", 4, 9, 4},
    {"MinButton", true, false, true},
    {"ReButton", true, false, true},
    {"EndButton", true, false, true},
    {"ChangeSize", true, false, true},
    {"MoveTo", true, false, true},
    {"Cancel", false, true, false},
    {"TitleHeight", 495.0f, 500.0f, 495.0f},  // written as a single, read back as an integer
    {"TitleBarLine", true, false, true},
};

template <>
const std::vector<Row> kRows<JyxWinCase> = {
    {"Enabled", true, false, true},
    {"Caption", "Caption", "提示", "Caption"},
    {"BackColor", 0x00C0E0FF, 0x00FFC0C0, 0x00C0E0FF},
    {"CaptionColor", 0, 0x000000FF, AsStored(kSysWindowText)},
    {"ArrayStyle", 4, 3, 4},
    {"MinButton", true, false, true},
    {"EndButton", true, false, true},
    {"ChangeSize", true, false, true},
    {"Bytopwin", false, true, false},
    {"MoveTo", true, false, true},
};

template <typename Change>
std::string Cased(std::string_view name, Change change) {
  std::string cased(name);
  for (char& c : cased) c = static_cast<char>(change(static_cast<unsigned char>(c)));
  return cased;
}

using Entries = std::vector<std::pair<std::string, PropertyValue>>;

Entries EntriesOf(const PropertyBag& bag) {
  Entries entries;
  for (const auto& e : bag.entries()) entries.emplace_back(e.name, e.value);
  return entries;
}

template <typename Control>
class PropertyTable : public HeadlessTest {
 protected:
  PropertyTable() { backend.CreateFormWindow(kForm, {"host", 800, 600, true, true, false, {}}, nullptr); }
  std::unique_ptr<Control> Sited() {
    auto control = std::make_unique<Control>("Control1");
    control->Site(kForm);
    return control;
  }
  std::unique_ptr<Control> Loaded(const PropertyBag& bag) {
    auto control = Sited();
    control->ReadProperties(bag);
    return control;
  }
  // The control's value of each stored property, in the bag's order.
  static std::vector<PropertyValue> Values(const Control& control) {
    std::vector<PropertyValue> values;
    for (const auto* property : skinned::InBagOrder(Control::kProperties)) values.push_back(property->get(control));
    return values;
  }
  // What saving writes when the rows for which `changed` holds have `value` and the others their defaults.
  template <typename Changed>
  static Entries Written(Changed changed, PropertyValue Row::*value) {
    Entries written;
    for (std::size_t i = 0; i < kRows<Control>.size(); ++i) {
      if (changed(i)) written.emplace_back(Cased(kRows<Control>[i].name, ::tolower), kRows<Control>[i].*value);
    }
    return written;
  }
  static constexpr Hwnd kForm = 0x7000;
};

using Controls = ::testing::Types<JyxButton, JyxSkin, JyxWinCase>;
TYPED_TEST_SUITE(PropertyTable, Controls);

TYPED_TEST(PropertyTable, TheBagKeepsTheseInThisOrder) {
  std::vector<std::string_view> names, expected;
  for (const auto* property : skinned::InBagOrder(TypeParam::kProperties)) names.push_back(property->name);
  for (const Row& row : kRows<TypeParam>) expected.push_back(row.name);
  EXPECT_EQ(names, expected);
}

// None, every other one, and all of the properties away from their defaults, stored in the reverse
// order with their names in capitals: loading takes them whatever the order and case and keeps the
// defaults of the others, saving writes just those in the table's order, and reading the saved bag
// gives the same values.
TYPED_TEST(PropertyTable, LoadingAndSavingKeepEveryValue) {
  const auto& rows = kRows<TypeParam>;
  for (const int subset : {0, 1, 2}) {
    SCOPED_TRACE(subset);
    const auto changed = [subset](std::size_t i) { return subset == 2 || (subset == 1 && i % 2 == 1); };
    PropertyBag bag;
    bag.Store("_ExtentX", std::int32_t{2143});  // the host's, passed over
    std::vector<PropertyValue> expected(rows.size());
    for (std::size_t i = rows.size(); i-- > 0;) {
      if (changed(i)) bag.Store(Cased(rows[i].name, ::toupper), rows[i].other);
      expected[i] = changed(i) ? rows[i].other : rows[i].default_value;
    }
    const auto control = this->Loaded(bag);
    EXPECT_EQ(this->Values(*control), expected);
    PropertyBag saved;
    control->WriteProperties(saved);
    EXPECT_EQ(EntriesOf(saved), this->Written(changed, &Row::other));
    EXPECT_EQ(this->Values(*this->Loaded(saved)), expected);
  }
}

TYPED_TEST(PropertyTable, ANewInstanceSavesWhatDiffersFromTheDefaults) {
  const auto& rows = kRows<TypeParam>;
  const auto control = this->Sited();
  control->InitProperties();
  std::vector<PropertyValue> expected;
  for (const Row& row : rows) expected.push_back(row.fresh);
  EXPECT_EQ(this->Values(*control), expected);
  PropertyBag saved;
  control->WriteProperties(saved);
  EXPECT_EQ(EntriesOf(saved), this->Written([&](std::size_t i) { return rows[i].fresh != rows[i].default_value; },
                                            &Row::fresh));
}

TYPED_TEST(PropertyTable, ABadValueStopsLoadingAndKeepsWhatWasApplied) {
  const auto& rows = kRows<TypeParam>;
  const auto bad = std::ranges::find_if(rows, [](const Row& row) {
    return std::holds_alternative<std::int32_t>(row.default_value);
  });
  PropertyBag bag;
  bag.Store(std::string(rows.front().name), rows.front().other);
  bag.Store(std::string(bad->name), std::string("many"));
  bag.Store(std::string(rows.back().name), rows.back().other);
  const auto control = this->Sited();
  try {
    control->ReadProperties(bag);
    FAIL() << "no error for a text " << bad->name;
  } catch (const PropertyError& e) {
    EXPECT_EQ(e.key(), bad->name);
  }
  // The first was applied; the last, after the bad one, was never read.
  EXPECT_EQ(this->Values(*control).front(), rows.front().other);
  EXPECT_EQ(this->Values(*control).back(), this->Values(*this->Sited()).back());
}

}  // namespace
}  // namespace ludex
