#include "platform/property_bag.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/units.h"

namespace ludex {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A number written as decimal, real or "&H" / "0x" hexadecimal text, read
// straight into T: a single read by way of a double would be rounded twice.
template <typename T>
T ParseNumber(std::string_view text, std::string_view key) {
  const std::string_view s = Trimmed(text);
  auto fail = [&]() -> T {
    throw PropertyError(std::string(key), "\"" + std::string(text) + "\" is not a number");
  };
  if (s.empty()) return fail();
  if (s.size() > 2 && (s.substr(0, 2) == "0x" || s.substr(0, 2) == "0X" || s.substr(0, 2) == "&H" ||
                       s.substr(0, 2) == "&h")) {
    std::uint32_t v = 0;
    const auto digits = s.substr(2);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) return fail();
    return static_cast<T>(static_cast<std::int32_t>(v));
  }
  T v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec == std::errc::result_out_of_range && end == s.data() + s.size()) {
    throw PropertyError(std::string(key), "\"" + std::string(text) + "\" is out of range");
  }
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return fail();
  return v;
}

std::int32_t NumberToInt32(double v, std::string_view key) {
  if (!(v >= std::numeric_limits<std::int32_t>::min() - 0.5 && v < std::numeric_limits<std::int32_t>::max() + 0.5)) {
    throw PropertyError(std::string(key), "value out of range for a 32-bit integer");
  }
  return RoundHalfEven(v);
}

}  // namespace

PropertyError::PropertyError(std::string key, const std::string& what)
    : std::runtime_error("property \"" + key + "\": " + what), key_(std::move(key)) {}

bool ToBool(const PropertyValue& v, std::string_view key) {
  if (const auto* b = std::get_if<bool>(&v)) return *b;
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i != 0;
  if (const auto* f = std::get_if<float>(&v)) return *f != 0.0f;
  const auto& text = std::get<std::string>(v);
  const auto t = Trimmed(text);
  if (EqualsIgnoringCase(t, "true")) return true;
  if (EqualsIgnoringCase(t, "false")) return false;
  return ParseNumber<double>(t, key) != 0.0;
}

std::int32_t ToInt32(const PropertyValue& v, std::string_view key) {
  if (const auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* f = std::get_if<float>(&v)) return NumberToInt32(*f, key);
  return NumberToInt32(ParseNumber<double>(std::get<std::string>(v), key), key);
}

float ToSingle(const PropertyValue& v, std::string_view key) {
  if (const auto* b = std::get_if<bool>(&v)) return *b ? -1.0f : 0.0f;
  if (const auto* i = std::get_if<std::int32_t>(&v)) return static_cast<float>(*i);
  if (const auto* f = std::get_if<float>(&v)) return *f;
  return ParseNumber<float>(std::get<std::string>(v), key);
}

std::string ToText(const PropertyValue& v, std::string_view) {
  if (const auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
  if (const auto* i = std::get_if<std::int32_t>(&v)) return std::to_string(*i);
  if (const auto* f = std::get_if<float>(&v)) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, *f);
    return std::string(buf, ec == std::errc() ? end : buf);
  }
  return std::get<std::string>(v);
}

bool SameSetting(const PropertyValue& value, const PropertyValue& default_value) {
  try {
    return std::visit(
        [&](const auto& d) -> bool {
          using T = std::decay_t<decltype(d)>;
          if constexpr (std::is_same_v<T, bool>) return ToBool(value, "") == d;
          if constexpr (std::is_same_v<T, std::int32_t>) return ToInt32(value, "") == d;
          if constexpr (std::is_same_v<T, float>) return ToSingle(value, "") == d;
          if constexpr (std::is_same_v<T, std::string>) return value.index() == 3 && std::get<std::string>(value) == d;
        },
        default_value);
  } catch (const PropertyError&) {
    return false;  // not convertible, so certainly not the default
  }
}

const PropertyBag::Entry* PropertyBag::Find(std::string_view name) const {
  for (const auto& e : entries_) {
    if (EqualsIgnoringCase(e.name, name)) return &e;
  }
  return nullptr;
}

PropertyValue PropertyBag::Read(std::string_view name, const PropertyValue& default_value) const {
  const Entry* e = Find(name);
  return e ? e->value : default_value;
}

bool PropertyBag::ReadBool(std::string_view name, bool default_value) const {
  return ToBool(Read(name, default_value), name);
}

std::int32_t PropertyBag::ReadInt32(std::string_view name, std::int32_t default_value) const {
  return ToInt32(Read(name, default_value), name);
}

float PropertyBag::ReadSingle(std::string_view name, float default_value) const {
  return ToSingle(Read(name, default_value), name);
}

std::string PropertyBag::ReadText(std::string_view name, std::string_view default_value) const {
  return ToText(Read(name, std::string(default_value)), name);
}

void PropertyBag::Write(std::string_view name, const PropertyValue& value, const PropertyValue& default_value) {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const Entry& e) { return EqualsIgnoringCase(e.name, name); });
  if (SameSetting(value, default_value)) {
    if (it != entries_.end()) entries_.erase(it);
    return;
  }
  if (it != entries_.end()) {
    it->value = value;
  } else {
    entries_.push_back({LowerCase(name), value});
  }
}

void PropertyBag::Store(std::string name, PropertyValue value) {
  entries_.push_back({std::move(name), std::move(value)});
}

}  // namespace ludex
