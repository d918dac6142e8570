// Values held by fields, parameters and stored columns.
//
// A Value is NULL or one of the engine's scalar kinds. Dates are whole days
// since 1899-12-30 (day 0 is the "zero" date a NULL date reads as); a
// date-and-time is milliseconds since 1899-12-30 00:00:00. Texts are UTF-8;
// their stored size is counted in code page 932 bytes by the storage rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace engine {

struct Date {
    int32_t days = 0;
    auto operator<=>(const Date&) const = default;
};

struct DateTime {
    int64_t msecs = 0;
    auto operator<=>(const DateTime&) const = default;
};

constexpr int64_t kMsecsPerDay = 86'400'000;

class Value {
  public:
    using Storage =
        std::variant<std::monostate, int64_t, double, bool, Date, DateTime, std::string>;

    Value() = default;
    Value(int64_t v) : v_(v) {}
    Value(int v) : v_(int64_t{v}) {}
    Value(double v) : v_(v) {}
    Value(bool v) : v_(v) {}
    Value(Date v) : v_(v) {}
    Value(DateTime v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsInteger() const { return std::holds_alternative<int64_t>(v_); }
    bool IsFloat() const { return std::holds_alternative<double>(v_); }
    bool IsBool() const { return std::holds_alternative<bool>(v_); }
    bool IsDate() const { return std::holds_alternative<Date>(v_); }
    bool IsDateTime() const { return std::holds_alternative<DateTime>(v_); }
    bool IsText() const { return std::holds_alternative<std::string>(v_); }

    int64_t Integer() const { return std::get<int64_t>(v_); }
    double Float() const { return std::get<double>(v_); }
    bool Bool() const { return std::get<bool>(v_); }
    Date DateValue() const { return std::get<Date>(v_); }
    DateTime DateTimeValue() const { return std::get<DateTime>(v_); }
    const std::string& Text() const { return std::get<std::string>(v_); }

    const Storage& storage() const { return v_; }
    bool operator==(const Value&) const = default;

  private:
    Storage v_;
};

}  // namespace engine
