#include "platform/resources.h"

#include <map>
#include <stdexcept>
#include <string>

namespace ludex {

namespace {

std::map<std::string, std::string_view, std::less<>>& Table() {
  static std::map<std::string, std::string_view, std::less<>> table;
  return table;
}

}  // namespace

void RegisterResource(std::string_view name, std::string_view bytes) { Table()[std::string(name)] = bytes; }

std::string_view FindResource(std::string_view name) {
  const auto it = Table().find(name);
  if (it == Table().end()) throw std::out_of_range("no resource named \"" + std::string(name) + "\"");
  return it->second;
}

}  // namespace ludex
