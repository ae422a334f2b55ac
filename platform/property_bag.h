// The per-instance store of a skinned control's settings.
//
// Entries keep the order in which they were stored; names match without
// regard to case; an entry equal to the default given when writing is not
// stored. Values are converted on reading the way the controls expect
// (a Boolean from a number, a number from text), and a value that cannot be
// converted is an error naming the entry.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace ludex {

using PropertyValue = std::variant<bool, std::int32_t, float, std::string>;

class PropertyError : public std::runtime_error {
 public:
  PropertyError(std::string key, const std::string& what);
  const std::string& key() const { return key_; }

 private:
  std::string key_;
};

// Conversions between the four stored types; each throws PropertyError for
// `key` when the value has no meaning in the target type.
bool ToBool(const PropertyValue& v, std::string_view key);
std::int32_t ToInt32(const PropertyValue& v, std::string_view key);
float ToSingle(const PropertyValue& v, std::string_view key);
std::string ToText(const PropertyValue& v, std::string_view key);

class PropertyBag {
 public:
  struct Entry {
    std::string name;
    PropertyValue value;
  };

  // The stored value, or `default_value` when the name is absent.
  PropertyValue Read(std::string_view name, const PropertyValue& default_value) const;
  // Typed reads: Read, then the matching conversion.
  bool ReadBool(std::string_view name, bool default_value) const;
  std::int32_t ReadInt32(std::string_view name, std::int32_t default_value) const;
  float ReadSingle(std::string_view name, float default_value) const;
  std::string ReadText(std::string_view name, std::string_view default_value) const;

  // Stores the value under the lower-case name, or removes the entry when the value equals the default.
  // A stored entry keeps its place; a new one goes to the end.
  void Write(std::string_view name, const PropertyValue& value, const PropertyValue& default_value);

  const std::vector<Entry>& entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  // Adds an entry as it stands in a definition (no default rule).
  void Store(std::string name, PropertyValue value);

 private:
  const Entry* Find(std::string_view name) const;
  std::vector<Entry> entries_;
};

// Two values are equal when they convert to the same value of the default's type.
bool SameSetting(const PropertyValue& value, const PropertyValue& default_value);

}  // namespace ludex
