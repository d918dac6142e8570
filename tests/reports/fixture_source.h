// Small data sets for the renderer's tests: rows of named fields in memory.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "reports/page_model.h"
#include "reports/report_source.h"

namespace kashidashi::reports::testing {

using Row = std::map<std::string, FieldReading>;

inline FieldReading Text(const std::string& text) {
    return {engine::Value(text), engine::FieldType::String, text};
}
inline FieldReading Int(int64_t n, const std::string& display) {
    return {engine::Value(n), engine::FieldType::Integer, display};
}
inline FieldReading NullOf(engine::FieldType type) {
    return {engine::Value(), type, ""};
}

class FixtureSource : public ReportSource {
  public:
    FixtureSource(std::string name, std::vector<Row> rows)
        : name_(std::move(name)), rows_(std::move(rows)) {}
    const std::string& Name() const override { return name_; }
    void Open() override {
        if (failOpen) throw std::runtime_error(failOpen);
        opened = true;
    }
    void First() override { at_ = 0; }
    void Next() override { ++at_; }
    bool Eof() const override { return at_ >= rows_.size(); }
    void Close() override { closed = true; }
    FieldReading Field(std::string_view name) const override {
        const Row& row = rows_.at(std::min(at_, rows_.size() - 1));
        auto found = row.find(std::string(name));
        if (found == row.end()) throw std::runtime_error("no field " + std::string(name));
        return found->second;
    }
    const char* failOpen = nullptr;
    bool opened = false, closed = false;

  private:
    std::string name_;
    std::vector<Row> rows_;
    size_t at_ = 0;
};

// The texts of a page whose object has the name, in the order printed.
inline std::vector<const PageText*> TextsOf(const Page& page, const std::string& object) {
    std::vector<const PageText*> out;
    for (const PageText& text : page.texts)
        if (text.object == object) out.push_back(&text);
    return out;
}

}  // namespace kashidashi::reports::testing
