// A skinned control's properties as one table, in the order the control
// declares them: the name and help text a designer's property list shows
// and, for the properties kept in the host's property bag, their place in the
// bag, their default and how a value is got for writing and applied on
// reading. Writing, reading and a new instance's start walk the same rows, so
// they cannot drift apart.
//
// Reading applies each value through the property's set operation before the
// next key is read, so every side effect of a set operation (a repaint, a
// layout pass raising Resize, a pop-out) happens while loading, in the bag's
// order. A value that does not convert is a PropertyError naming the key; the
// properties applied before it stay applied. A new instance, instead, stores
// the default of each property that lives in a field of the control straight
// into the field, with no side effect; the others keep their designer values.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/color.h"
#include "platform/property_bag.h"
#include "platform/raise_event.h"

namespace ludex::skinned {

// The value a get operation returns, as it is stored. Colours are stored as
// signed 32-bit integers, so a system colour is negative in the bag.
inline PropertyValue ToStored(bool value) { return value; }
inline PropertyValue ToStored(std::int32_t value) { return value; }
inline PropertyValue ToStored(Color value) { return static_cast<std::int32_t>(value); }
inline PropertyValue ToStored(float value) { return value; }
inline PropertyValue ToStored(const std::string& value) { return value; }

// A value read from the bag, converted to what a set operation takes.
template <typename T>
T FromStored(const PropertyValue& value, std::string_view key) {
  if constexpr (std::is_same_v<T, bool>) {
    return ToBool(value, key);
  } else if constexpr (std::is_same_v<T, std::int32_t>) {
    return ToInt32(value, key);
  } else if constexpr (std::is_same_v<T, Color>) {
    return static_cast<Color>(ToInt32(value, key));
  } else {
    static_assert(std::is_same_v<T, std::string>, "a set operation takes a Boolean, an integer, a colour or text");
    return ToText(value, key);
  }
}

template <typename Setter>
struct SetterArgument;
template <typename Class, typename Argument>
struct SetterArgument<void (Class::*)(Argument)> {
  using type = std::remove_cvref_t<Argument>;
};

inline constexpr int kNotStored = -1;

template <typename Owner>
struct Property {
  std::string_view name;         // also the key in the property bag
  std::string_view description;  // the designer's help text; empty for none
  int order = kNotStored;        // place in the property bag, from 0
  PropertyValue default_value;   // its type is the stored type
  PropertyValue (*get)(const Owner& owner) = nullptr;
  void (*set)(Owner& owner, const PropertyValue& value, std::string_view key) = nullptr;
  // Stores a value into the property's own field; none for a property that lives in a constituent.
  void (*store)(Owner& owner, const PropertyValue& value) = nullptr;

  // A property kept in the bag: written from Getter, applied through Setter,
  // and held in Field (a data member) unless that is nullptr. The default is
  // of the type Getter returns, so it is stored as the values are.
  template <auto Getter, auto Setter, auto Field = nullptr>
  static Property Stored(std::string_view name, int order,
                         const std::remove_cvref_t<decltype((std::declval<const Owner&>().*Getter)())>& default_value,
                         std::string_view description) {
    Property property{name, description, order, ToStored(default_value),
                      [](const Owner& owner) { return ToStored((owner.*Getter)()); },
                      [](Owner& owner, const PropertyValue& value, std::string_view key) {
                        (owner.*Setter)(FromStored<typename SetterArgument<decltype(Setter)>::type>(value, key));
                      },
                      nullptr};
    if constexpr (Field != nullptr) {
      property.store = [](Owner& owner, const PropertyValue& value) {
        using FieldType = std::remove_reference_t<decltype(owner.*Field)>;
        owner.*Field = FromStored<FieldType>(value, "");
      };
    }
    return property;
  }
  // A property a designer lists but the bag does not keep (hwnd).
  static Property Shown(std::string_view name, std::string_view description) {
    return {name, description, kNotStored, {}, nullptr, nullptr, nullptr};
  }
};

// The stored rows, in the bag's order.
template <typename Owner, std::size_t N>
std::vector<const Property<Owner>*> InBagOrder(const std::array<Property<Owner>, N>& table) {
  std::vector<const Property<Owner>*> stored;
  for (const Property<Owner>& property : table) {
    if (property.order != kNotStored) stored.push_back(&property);
  }
  std::ranges::sort(stored, {}, [](const Property<Owner>* property) { return property->order; });
  return stored;
}

// A new instance: the defaults into the fields, and nothing else.
template <typename Owner, std::size_t N>
void InitProperties(Owner& owner, const std::array<Property<Owner>, N>& table) {
  for (const Property<Owner>& property : table) {
    if (property.store) property.store(owner, property.default_value);
  }
}

template <typename Owner, std::size_t N>
void WriteProperties(const Owner& owner, PropertyBag& bag, const std::array<Property<Owner>, N>& table) {
  for (const Property<Owner>* property : InBagOrder(table)) {
    bag.Write(property->name, property->get(owner), property->default_value);
  }
}

// Returns false when a handler of an event raised by a set operation (Resize)
// destroyed the control; the rest is then not read.
template <typename Owner, std::size_t N>
bool ReadProperties(Owner& owner, const PropertyBag& bag, const std::array<Property<Owner>, N>& table) {
  const Lifetime::Watch watch(owner.lifetime());
  for (const Property<Owner>* property : InBagOrder(table)) {
    property->set(owner, bag.Read(property->name, property->default_value), property->name);
    if (watch.Ended()) return false;
  }
  return true;
}

}  // namespace ludex::skinned
