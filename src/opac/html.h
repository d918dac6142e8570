// HTML that is safe to send: a piece is either text escaped on the way in
// (Escape) or markup written in the program itself (Markup, for literals
// and templates only), so that a book titled "<script>" shows as text.
// Pages build their answers only from Html pieces.
#pragma once

#include <string>
#include <string_view>

namespace kashidashi::opac {

class Html {
  public:
    Html() = default;
    static Html Escape(std::string_view text);
    static Html Markup(std::string_view markup) { return Html(std::string(markup)); }

    Html& operator+=(const Html& more) {
        text_ += more.text_;
        return *this;
    }
    friend Html operator+(Html left, const Html& right) { return left += right; }
    const std::string& str() const { return text_; }
    bool empty() const { return text_.empty(); }

  private:
    explicit Html(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

// An element with escaped text content: Tag("h1", "恐竜") -> <h1>恐竜</h1>.
// `attributes` is markup written in the program (class="...").
Html Tag(std::string_view name, const Html& content, std::string_view attributes = {});

// A link; the address is escaped as an attribute value.
Html Link(const std::string& address, const Html& content, std::string_view attributes = {});

// The template's {{name}} slots filled with pieces; a slot without a piece
// is left empty.
Html Fill(std::string_view templ, std::initializer_list<std::pair<std::string_view, Html>> slots);

// A text for a query string: percent-encoded UTF-8.
std::string UrlEncode(std::string_view text);

}  // namespace kashidashi::opac
