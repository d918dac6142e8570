#include "opac/html.h"

namespace kashidashi::opac {

Html Html::Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return Html(std::move(out));
}

Html Tag(std::string_view name, const Html& content, std::string_view attributes) {
    std::string open = "<" + std::string(name);
    if (!attributes.empty()) open += " " + std::string(attributes);
    return Html::Markup(open + ">") + content + Html::Markup("</" + std::string(name) + ">");
}

Html Link(const std::string& address, const Html& content, std::string_view attributes) {
    std::string extra = attributes.empty() ? "" : " " + std::string(attributes);
    return Html::Markup("<a href=\"") + Html::Escape(address) + Html::Markup("\"" + extra + ">") +
           content + Html::Markup("</a>");
}

Html Fill(std::string_view templ, std::initializer_list<std::pair<std::string_view, Html>> slots) {
    Html out;
    size_t at = 0;
    while (at < templ.size()) {
        size_t open = templ.find("{{", at);
        if (open == std::string_view::npos) break;
        size_t close = templ.find("}}", open + 2);
        if (close == std::string_view::npos) break;
        out += Html::Markup(templ.substr(at, open - at));
        std::string_view name = templ.substr(open + 2, close - open - 2);
        for (const auto& [slot, piece] : slots)
            if (slot == name) out += piece;
        at = close + 2;
    }
    out += Html::Markup(templ.substr(at));
    return out;
}

std::string UrlEncode(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace kashidashi::opac
