#pragma once
// Typed reading of JSON object members with clear errors, never throwing.

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace corvesta::sim {

// Each reader leaves `out` alone when the member is missing and `required`
// is false; a member of the wrong type, or a missing required one, sets
// `error` to a message naming `where` and the key and returns false.
bool ReadText(const nlohmann::json &object, std::string_view key, std::string &out, bool required,
              std::string_view where, std::string &error);
bool ReadBool(const nlohmann::json &object, std::string_view key, bool &out, std::string_view where,
              std::string &error);
bool ReadInt(const nlohmann::json &object, std::string_view key, std::int64_t &out, bool required,
             std::string_view where, std::string &error);
bool ReadInt(const nlohmann::json &object, std::string_view key, int &out, bool required,
             std::string_view where, std::string &error);

// Rejects members other than `allowed`, so that misspelt switches are noticed.
bool OnlyKnownKeys(const nlohmann::json &object, std::initializer_list<std::string_view> allowed,
                   std::string_view where, std::string &error);

} // namespace corvesta::sim
