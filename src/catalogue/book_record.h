// The book record a lookup writes: the columns of the book being registered,
// read as text and set from text (UTF-8), by column name. Setting converts
// the text as the column stores it (cut to its width, numbers parsed).
//
//   DataSetBookRecord  the current row of a data set (the data module's BOOK
//                      in the window); Edit puts it into edit mode unless it
//                      already edits or inserts. Engine errors pass through.
//   MemoryBookRecord   columns held in memory with the widths of the book
//                      table, for a look at a lookup that touches no data.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace engine {
class TDataSet;
}

namespace kashidashi::catalogue {

class BookRecord {
  public:
    virtual ~BookRecord() = default;
    virtual void Edit() = 0;
    // The column as text: "" for NULL, "0" for a number 0.
    virtual std::string Text(std::string_view column) const = 0;
    virtual void Set(std::string_view column, const std::string& text) = 0;
};

class DataSetBookRecord : public BookRecord {
  public:
    explicit DataSetBookRecord(engine::TDataSet& dataSet) : dataSet_(dataSet) {}
    void Edit() override;
    std::string Text(std::string_view column) const override;
    void Set(std::string_view column, const std::string& text) override;

  private:
    engine::TDataSet& dataSet_;
};

class MemoryBookRecord : public BookRecord {
  public:
    void Edit() override {}
    std::string Text(std::string_view column) const override;
    void Set(std::string_view column, const std::string& text) override;
    // The columns set, by name, in their stored form.
    const std::map<std::string, std::string>& Columns() const { return columns_; }

  private:
    std::map<std::string, std::string> columns_;
};

}  // namespace kashidashi::catalogue
