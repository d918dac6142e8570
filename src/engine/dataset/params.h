// Parameters of a statement, named ":" + name in its text. Each is typed by
// the value assigned to it (text, integer, date-and-time, ...); a parameter
// never assigned is unbound, and running the statement then fails.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/common/value.h"

namespace engine {

class TParam {
  public:
    explicit TParam(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    const Value& GetValue() const { return value_; }
    bool Bound() const { return bound_; }

    void SetValue(const Value& value) {
        value_ = value;
        bound_ = true;
    }
    void SetAsString(const std::string& text) { SetValue(Value(text)); }
    void SetAsInteger(int64_t value) { SetValue(Value(value)); }
    void SetAsFloat(double value) { SetValue(Value(value)); }
    void SetAsBoolean(bool value) { SetValue(Value(value)); }
    void SetAsDate(Date value) { SetValue(Value(value)); }
    void SetAsDateTime(DateTime value) { SetValue(Value(value)); }
    void Clear() { SetValue(Value()); }

  private:
    std::string name_;
    Value value_;
    bool bound_ = false;
};

class TParams {
  public:
    int Count() const { return static_cast<int>(params_.size()); }
    TParam& Items(int index) { return params_.at(index); }
    TParam* FindParam(std::string_view name);
    TParam& ParamByName(std::string_view name);  // DataSetError when missing
    // Rebuilds the list from names, keeping the values of names that stay.
    void Rebuild(const std::vector<std::string>& names);

  private:
    std::vector<TParam> params_;
};

// The lines of a statement's text.
class TStrings {
  public:
    void Clear();
    void Add(const std::string& line);
    std::string Text() const;  // the lines joined by line breaks
    void SetText(const std::string& text);
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(index); }
    std::function<void()> OnChange;

  private:
    std::vector<std::string> lines_;
};

}  // namespace engine
