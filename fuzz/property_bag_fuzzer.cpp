// The property bag: the input read as text of every type, then a sequence of
// stores, writes and typed reads drawn from it. Reads either convert or throw
// PropertyError; a value written as text reads back as the value it came from;
// writing a default leaves no entry.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/property_bag.h"

namespace {

using ludex::PropertyBag;
using ludex::PropertyError;
using ludex::PropertyValue;

[[noreturn]] void Fault(const char* what, const std::string& detail) {
  std::fprintf(stderr, "property_bag_fuzzer: %s: \"%s\"\n", what, detail.c_str());
  std::abort();
}

PropertyValue ConsumeValue(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return in.ConsumeBool();
    case 1: return in.ConsumeIntegral<std::int32_t>();
    case 2: return std::bit_cast<float>(in.ConsumeIntegral<std::uint32_t>());  // NaNs and infinities too
    default: return in.ConsumeRandomLengthString(40);
  }
}

// A few names that differ only in case, so that lookups meet each other.
std::string ConsumeName(FuzzedDataProvider& in) {
  static const char* const kNames[] = {"Caption",   "caption",     "CAPTION", "BackColor",
                                       "backcolor", "TitleHeight", "_ExtentX"};
  if (in.ConsumeBool()) return in.ConsumeRandomLengthString(12);
  return kNames[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
}

bool IsNan(const PropertyValue& v) { return std::holds_alternative<float>(v) && std::isnan(std::get<float>(v)); }

std::string Lower(std::string s) {
  for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return s;
}

int Matches(const PropertyBag& bag, const std::string& name) {
  int n = 0;
  for (const auto& e : bag.entries()) n += Lower(e.name) == Lower(name) ? 1 : 0;
  return n;
}

bool SameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

// Equal, and for singles equal bit for bit (NaNs, and zero against minus zero).
bool Identical(const PropertyValue& a, const PropertyValue& b) {
  if (a.index() != b.index()) return false;
  if (const auto* f = std::get_if<float>(&a)) return SameBits(*f, std::get<float>(b));
  return a == b;
}

// What a value writes as text reads back as the same value.
void CheckTextRoundTrip(const PropertyValue& v) {
  const std::string text = ludex::ToText(v, "v");
  try {
    if (const auto* b = std::get_if<bool>(&v)) {
      if (ludex::ToBool(text, "v") != *b) Fault("a Boolean did not survive text", text);
    } else if (const auto* i = std::get_if<std::int32_t>(&v)) {
      if (ludex::ToInt32(text, "v") != *i) Fault("an integer did not survive text", text);
    } else if (const auto* f = std::get_if<float>(&v); f && std::isfinite(*f)) {
      if (!SameBits(ludex::ToSingle(text, "v"), *f)) Fault("a single did not survive text", text);
    }
  } catch (const PropertyError&) {
    Fault("a value written as text could not be read back", text);
  }
}

void ReadEveryType(const PropertyBag& bag, const std::string& name) {
  try { bag.ReadBool(name, false); } catch (const PropertyError&) {}
  try { bag.ReadInt32(name, 0); } catch (const PropertyError&) {}
  try { bag.ReadSingle(name, 0.0f); } catch (const PropertyError&) {}
  bag.ReadText(name, "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // First the whole input as one text entry, as a definition or a saved bag would hold it.
  PropertyBag bag;
  bag.Store("Whole", std::string(reinterpret_cast<const char*>(data), size));
  ReadEveryType(bag, "whole");

  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    const std::string name = ConsumeName(in);
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:
        bag.Store(name, ConsumeValue(in));
        break;
      case 1: {
        const PropertyValue value = ConsumeValue(in);
        const PropertyValue default_value = ConsumeValue(in);
        const int matches_before = Matches(bag, name);
        bag.Write(name, value, default_value);
        if (ludex::SameSetting(value, default_value)) {
          // Only definitions store a name twice; a write removes the first.
          if (matches_before <= 1 && Matches(bag, name) != 0) Fault("writing the default left an entry", name);
        } else {
          if (!Identical(bag.Read(name, default_value), value)) Fault("a written value did not read back", name);
          if (matches_before == 0 && bag.entries().back().name != Lower(name)) {
            Fault("a new entry is not lower case", name);
          }
        }
        break;
      }
      case 2:
        ReadEveryType(bag, name);
        break;
      default: {
        const PropertyValue value = ConsumeValue(in);
        CheckTextRoundTrip(value);
        if (!IsNan(value) && !ludex::SameSetting(value, value)) {
          Fault("a value is not the same setting as itself", ludex::ToText(value, "v"));
        }
        break;
      }
    }
  }
  for (const auto& e : bag.entries()) ReadEveryType(bag, e.name);
  return 0;
}
