#include "reports/expression.h"

#include <regex>
#include <stdexcept>

#include "engine/common/dates.h"
#include "engine/common/value_convert.h"

namespace kashidashi::reports {
namespace {

using engine::FieldType;

bool IsNumber(FieldType type) {
    return type == FieldType::Integer || type == FieldType::Smallint ||
           type == FieldType::AutoInc || type == FieldType::Float || type == FieldType::Currency;
}

Segment ExpressionOf(const std::string& inside) {
    static const std::regex field(R"re(^\s*([^."\s]+)\s*\.\s*"([^"]*)"\s*$)re");
    static const std::regex page(R"(^\s*Page#\s*$)", std::regex::icase);
    static const std::regex count(R"(^\s*COUNT\(\s*([^)\s]+)\s*\)\s*$)", std::regex::icase);
    std::smatch m;
    if (std::regex_match(inside, m, field)) return {Segment::Field, m[2], m[1]};
    if (std::regex_match(inside, page)) return {Segment::PageNumber, "", ""};
    if (std::regex_match(inside, m, count)) return {Segment::Count, m[1], ""};
    return {Segment::Literal, "[" + inside + "]", ""};
}

void AddLiteral(std::vector<Segment>& out, const std::string& text) {
    if (text.empty()) return;
    if (!out.empty() && out.back().kind == Segment::Literal)
        out.back().text += text;
    else
        out.push_back({Segment::Literal, text, ""});
}

}  // namespace

std::vector<Segment> ParseText(std::string_view text) {
    std::vector<Segment> out;
    size_t at = 0;
    while (at < text.size()) {
        size_t open = text.find('[', at);
        size_t close = open == std::string_view::npos ? open : text.find(']', open);
        if (close == std::string_view::npos) {
            AddLiteral(out, std::string(text.substr(at)));
            break;
        }
        AddLiteral(out, std::string(text.substr(at, open - at)));
        Segment segment = ExpressionOf(std::string(text.substr(open + 1, close - open - 1)));
        if (segment.kind == Segment::Literal)
            AddLiteral(out, segment.text);
        else
            out.push_back(std::move(segment));
        at = close + 1;
    }
    return out;
}

std::string PlainText(const FieldReading& reading) {
    if (!reading.value.IsNull()) return engine::ValueText(reading.value);
    if (IsNumber(reading.type)) return "0";
    if (reading.type == FieldType::Date) return engine::FormatDate(engine::Date{});
    if (reading.type == FieldType::DateTime) return engine::FormatDateTime(engine::DateTime{});
    return "";
}

bool IsZero(const FieldReading& reading) {
    const engine::Value& v = reading.value;
    if (v.IsNull())
        return IsNumber(reading.type) || reading.type == FieldType::Date ||
               reading.type == FieldType::DateTime;
    if (v.IsInteger()) return v.Integer() == 0;
    if (v.IsFloat()) return v.Float() == 0;
    if (v.IsDate()) return v.DateValue().days == 0;
    if (v.IsDateTime()) return v.DateTimeValue().msecs == 0;
    return false;
}

std::string BoundText(const FieldReading& reading, bool hideZeros) {
    return hideZeros && IsZero(reading) ? std::string() : reading.displayText;
}

std::string Evaluate(const std::vector<Segment>& segments, const ExpressionContext& context,
                     bool hideZeros) {
    std::string out;
    for (const Segment& segment : segments) {
        switch (segment.kind) {
            case Segment::Literal:
                out += segment.text;
                break;
            case Segment::PageNumber:
                out += std::to_string(context.page);
                break;
            case Segment::Count:
                out += std::to_string(context.count ? context.count(segment.text) : 0);
                break;
            case Segment::Field: {
                const ReportSource* source = context.source(segment.dataSet);
                if (!source) throw std::runtime_error("no data set " + segment.dataSet);
                FieldReading reading = source->Field(segment.text);
                if (!(hideZeros && IsZero(reading))) out += PlainText(reading);
            }
        }
    }
    return out;
}

}  // namespace kashidashi::reports
