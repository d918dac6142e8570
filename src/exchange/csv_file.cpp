#include "exchange/csv_file.h"

#include "exchange/file_bytes.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

namespace kashidashi::exchange {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Walks the text one record at a time, counting physical lines.
class CsvScanner {
  public:
    explicit CsvScanner(std::string_view text) : text_(text) {}

    CsvText ReadAll() {
        CsvText result;
        while (pos_ < text_.size()) {
            if (SkipLineBreak()) continue;  // an empty line
            CsvRecord record{line_, {}};
            if (!ReadRecord(record, result)) break;
            result.records.push_back(std::move(record));
        }
        return result;
    }

  private:
    bool AtLineBreak() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

    // Consumes one line break (CRLF counts once).
    bool SkipLineBreak() {
        if (pos_ >= text_.size() || !AtLineBreak()) return false;
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
        return true;
    }

    bool ReadRecord(CsvRecord& record, CsvText& result) {
        for (;;) {
            std::string field;
            if (!ReadField(field, record.line, result)) return false;
            record.fields.push_back(std::move(field));
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            SkipLineBreak();
            return true;
        }
    }

    bool ReadField(std::string& field, int recordLine, CsvText& result) {
        if (pos_ < text_.size() && text_[pos_] == '"') return ReadQuoted(field, recordLine, result);
        while (pos_ < text_.size() && text_[pos_] != ',' && !AtLineBreak()) field += text_[pos_++];
        return true;
    }

    // Adds the character at the position to a quoted field and moves past
    // it; false, past it, at the closing quote.
    bool NextQuoted(std::string& field) {
        if (text_[pos_] == '"') {
            ++pos_;
            if (pos_ >= text_.size() || text_[pos_] != '"') return false;
            field += '"';  // "" stands for one quote
            ++pos_;
        } else if (AtLineBreak()) {
            SkipLineBreak();  // a line break inside quotes belongs to the field, as LF
            field += '\n';
        } else {
            field += text_[pos_++];
        }
        return true;
    }

    bool ReadQuoted(std::string& field, int recordLine, CsvText& result) {
        ++pos_;  // the opening quote
        do {
            if (pos_ >= text_.size())
                return Fail(result, recordLine, "引用符（\"）が閉じていません");
        } while (NextQuoted(field));
        if (pos_ < text_.size() && text_[pos_] != ',' && !AtLineBreak())
            return Fail(result, recordLine, "閉じた引用符（\"）の後に文字があります");
        return true;
    }

    static bool Fail(CsvText& result, int line, std::string reason) {
        result.error = CsvError{line, std::move(reason)};
        return false;
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

std::string DecodeCsvBytes(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    if (platform::utf8::IsValid(bytes)) return std::string(bytes);
    return platform::FromCp932(bytes);
}

std::string ReadFileText(const std::string& path) {
    return DecodeCsvBytes(ReadFileBytes(path));
}

CsvText ParseCsv(std::string_view utf8) {
    return CsvScanner(utf8).ReadAll();
}

}  // namespace kashidashi::exchange
