#include <cstdio>

#include "platform/Store.h"
#include "platform/Strings.h"

namespace platform {

bool isNull(const Value& value) {
  return std::holds_alternative<std::monostate>(value);
}

std::string valueText(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return std::to_string(*whole);
  if (const auto* real = std::get_if<double>(&value)) {
    // 15 significant digits, as the suite's language prints a double.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", *real);
    return buffer;
  }
  return "";
}

Row::Row(std::shared_ptr<const std::vector<std::string>> names, std::vector<Value> values)
    : names_(std::move(names)), values_(std::move(values)) {}

const Value& Row::operator[](std::string_view name) const {
  const auto& names = *names_;
  for (std::size_t i = 0; i < names.size() && i < values_.size(); ++i)
    if (equalsNoCase(names[i], name)) return values_[i];
  throw StoreError("no such column: " + std::string(name));
}

}  // namespace platform
