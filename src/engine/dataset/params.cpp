#include "engine/dataset/params.h"

#include "engine/common/error.h"
#include "engine/common/names.h"

namespace engine {

TParam* TParams::FindParam(std::string_view name) {
    for (auto& param : params_)
        if (SameName(param.Name(), name)) return &param;
    return nullptr;
}

TParam& TParams::ParamByName(std::string_view name) {
    if (TParam* param = FindParam(name)) return *param;
    throw DataSetError::ParamNotFound(name);
}

void TParams::Rebuild(const std::vector<std::string>& names) {
    std::vector<TParam> rebuilt;
    for (const auto& name : names) {
        TParam* old = FindParam(name);
        rebuilt.push_back(old ? *old : TParam(name));
    }
    params_ = std::move(rebuilt);
}

void TStrings::Clear() {
    lines_.clear();
    if (OnChange) OnChange();
}

void TStrings::Add(const std::string& line) {
    lines_.push_back(line);
    if (OnChange) OnChange();
}

std::string TStrings::Text() const {
    std::string text;
    for (const auto& line : lines_) text += line + "\n";
    return text;
}

void TStrings::SetText(const std::string& text) {
    lines_.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
        start = end + 1;
    }
    if (OnChange) OnChange();
}

}  // namespace engine
