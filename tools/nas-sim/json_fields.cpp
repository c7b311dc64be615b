#include "json_fields.h"

#include <algorithm>
#include <limits>

namespace corvesta::sim {

namespace {
const nlohmann::json *Member(const nlohmann::json &object, std::string_view key) {
  if (!object.is_object()) {
    return nullptr;
  }
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

bool Fail(std::string &error, std::string_view where, std::string_view key, std::string_view what) {
  error = std::string(where) + ": \"" + std::string(key) + "\" " + std::string(what);
  return false;
}
} // namespace

bool ReadText(const nlohmann::json &object, std::string_view key, std::string &out, bool required,
              std::string_view where, std::string &error) {
  const nlohmann::json *value = Member(object, key);
  if (value == nullptr) {
    return required ? Fail(error, where, key, "is missing") : true;
  }
  if (!value->is_string()) {
    return Fail(error, where, key, "must be a text");
  }
  out = value->get_ref<const std::string &>();
  return true;
}

bool ReadBool(const nlohmann::json &object, std::string_view key, bool &out, std::string_view where,
              std::string &error) {
  const nlohmann::json *value = Member(object, key);
  if (value == nullptr) {
    return true;
  }
  if (!value->is_boolean()) {
    return Fail(error, where, key, "must be true or false");
  }
  out = value->get<bool>();
  return true;
}

bool ReadInt(const nlohmann::json &object, std::string_view key, std::int64_t &out, bool required,
             std::string_view where, std::string &error) {
  const nlohmann::json *value = Member(object, key);
  if (value == nullptr) {
    return required ? Fail(error, where, key, "is missing") : true;
  }
  if (value->is_number_unsigned()) {
    const auto v = value->get<std::uint64_t>();
    if (v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
      return Fail(error, where, key, "is too large");
    }
    out = static_cast<std::int64_t>(v);
    return true;
  }
  if (!value->is_number_integer()) {
    return Fail(error, where, key, "must be a whole number");
  }
  out = value->get<std::int64_t>();
  return true;
}

bool ReadInt(const nlohmann::json &object, std::string_view key, int &out, bool required,
             std::string_view where, std::string &error) {
  std::int64_t wide = out;
  if (!ReadInt(object, key, wide, required, where, error)) {
    return false;
  }
  if (wide < std::numeric_limits<int>::min() || wide > std::numeric_limits<int>::max()) {
    return Fail(error, where, key, "is out of range");
  }
  out = static_cast<int>(wide);
  return true;
}

bool OnlyKnownKeys(const nlohmann::json &object, std::initializer_list<std::string_view> allowed,
                   std::string_view where, std::string &error) {
  if (!object.is_object()) {
    error = std::string(where) + ": must be an object";
    return false;
  }
  for (const auto &item : object.items()) {
    if (std::find(allowed.begin(), allowed.end(), item.key()) == allowed.end()) {
      return Fail(error, where, item.key(), "is not a known field");
    }
  }
  return true;
}

} // namespace corvesta::sim
