#include "opac/book_summary.h"

#include "engine/common/dates.h"
#include "opac/say.h"

namespace kashidashi::opac {

namespace {

std::string Join(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const auto& part : parts) {
        if (part.empty()) continue;
        if (!out.empty()) out += separator;
        out += part;
    }
    return out;
}

}  // namespace

Html CopyStateHtml(const View& view, const CopyInfo& copy) {
    switch (copy.state) {
        case CopyState::Available:
            return Tag("span", view.Say("{貸出|かしだし}できます"), "class=\"state available\"");
        case CopyState::NotForLoan:
            return Tag("span", view.Say("{禁帯出|きんたいしゅつ}"), "class=\"state not-for-loan\"");
        case CopyState::OnLoan:
            break;
    }
    Html text = view.Say("{貸出中|かしだしちゅう}");
    if (copy.due) {
        auto civil = engine::ToCivil(*copy.due);
        text += Html::Escape("（" + std::to_string(civil.month)) + view.Say("{月|がつ}") +
                Html::Escape(std::to_string(civil.day)) +
                view.Say("{日|にち}までに{返|かえ}る{予定|よてい}）");
    }
    return Tag("span", text, "class=\"state on-loan\"");
}

Html WorkList(const View& view, engine::storage::Connection& data,
              const std::vector<SearchHit>& hits) {
    Html items;
    for (const auto& hit : hits) {
        auto copies = ReadCopies(data, hit.copies);
        if (copies.empty()) continue;
        auto book = ReadBook(data, copies.front().id);
        if (!book) continue;
        const CopyInfo* best = &copies.front();
        for (const auto& copy : copies)
            if (copy.state == CopyState::Available) best = &copy;
        std::string title = Join({book->title, book->subtitle}, "　");
        Html line = Link(view.Url("/book/" + std::to_string(book->id)),
                         title.empty() ? view.Say("（{書名|しょめい}なし）")
                                       : WithReading(title, book->titleReading, view.furigana),
                         "class=\"title\"");
        line += Tag("div", Html::Escape(Join(book->authors, "／")), "class=\"who\"");
        line += Tag("div",
                    Html::Escape(Join({book->series, book->publisher, book->year}, "　")) +
                        Html::Markup(" ") + CopyStateHtml(view, *best) +
                        (copies.size() > 1 ? Html::Escape(" " + std::to_string(copies.size())) +
                                                 view.Say("{冊|さつ}")
                                           : Html()),
                    "class=\"meta\"");
        items += Tag("li", line, best->state == CopyState::Available ? "class=\"available\"" : "");
    }
    return Tag("ol", items, "class=\"results\"");
}

}  // namespace kashidashi::opac
