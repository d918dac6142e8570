// A book's page: /book/{id}, the book number of any copy. Its description
// and every copy of its work with the state read now (貸出できます, 貸出中
// with the day it is due back, 禁帯出), and how many are waiting for it.
// Never who has it or who waits.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "opac/app.h"
#include "opac/book_summary.h"
#include "opac/catalogue.h"
#include "opac/page_frame.h"
#include "opac/pages.h"
#include "opac/pupil_hooks.h"
#include "opac/say.h"

namespace kashidashi::opac {

namespace {

std::string NdcText(const BookDetails& book, const CodeNames& codes) {
    if (book.mainClass == kPictureBooks) return "絵本";
    if (book.mainClass == kForeignBooks) return "洋書";
    if (!book.ndc) return {};
    char code[32];
    double whole = std::floor(*book.ndc);
    if (whole == *book.ndc)
        std::snprintf(code, sizeof code, "%03.0f", *book.ndc);
    else
        std::snprintf(code, sizeof code, "%g", *book.ndc);
    std::string name = codes.Ndc(book.ndc);
    if (name.empty()) name = codes.Ndc(std::floor(*book.ndc / 10) * 10);
    return name.empty() ? std::string(code) : std::string(code) + " " + name;
}

Html Row(const View& view, std::string_view label, const std::string& value) {
    if (value.empty()) return {};
    return Tag("dt", view.Say(label)) + Tag("dd", Html::Escape(value));
}

Html CopiesTable(const View& view, const std::vector<CopyInfo>& copies, const CodeNames& codes) {
    Html rows = Html::Markup("<tr>") + Tag("th", view.Say("{本|ほん}の{番号|ばんごう}")) +
                Tag("th", view.Say("いまの{様子|ようす}")) +
                Tag("th", view.Say("{場所|ばしょ}"), "class=\"place\"") +
                Tag("th", view.Say("{請求|せいきゅう}{記号|きごう}")) + Html::Markup("</tr>");
    for (const auto& copy : copies) {
        char number[32];
        std::snprintf(number, sizeof number, "%07lld", static_cast<long long>(copy.id));
        Html place = Html::Escape(codes.Place(copy.place));
        if (copy.closedStack) place += view.Say("（カウンターで{聞|き}いてください）");
        rows += Html::Markup("<tr>") + Tag("td", Html::Escape(number)) +
                Tag("td", CopyStateHtml(view, copy)) + Tag("td", place, "class=\"place\"") +
                Tag("td", Html::Escape(copy.callNumber)) + Html::Markup("</tr>");
    }
    return Tag("table", rows, "class=\"copies\"");
}

Response BookPage(Request& request) {
    View view = ViewOf(request);
    std::string text = request.PathParam("id");
    int64_t id = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc() || end != text.data() + text.size() || id < 0) return ErrorPage(404);
    auto data = view.site.Data().Take();
    auto book = ReadBook(*data, id);
    if (!book) return ErrorPage(404);
    std::vector<int64_t> ids = view.site.Index().CopiesOf(id);
    if (ids.empty()) ids.push_back(id);  // a book the index has not met yet
    auto copies = ReadCopies(*data, ids);
    int waiting = WaitingCount(*data, ids, book->isbn);
    CodeNames codes = view.site.Codes();

    Html heading = book->title.empty()
                       ? view.Say("（{書名|しょめい}なし）")
                       : WithReading(book->title, book->titleReading, view.furigana);
    Html content = Tag("h1", heading);
    if (!book->titleReading.empty() && !view.furigana)
        content += Tag("p", Html::Escape(ToHiragana(book->titleReading)), "class=\"meta\"");
    std::string authors;
    for (const auto& author : book->authors) authors += (authors.empty() ? "" : "／") + author;
    Html details = Row(view, "{副書名|ふくしょめい}", book->subtitle) +
                   Row(view, "シリーズ", book->series) + Row(view, "{作者|さくしゃ}", authors) +
                   Row(view, "{出版社|しゅっぱんしゃ}", book->publisher) +
                   Row(view, "{出版年|しゅっぱんねん}", book->year) +
                   Row(view, "{分類|ぶんるい}", NdcText(*book, codes)) +
                   Row(view, "{請求|せいきゅう}{記号|きごう}", book->callNumber) +
                   Row(view, "{場所|ばしょ}", codes.Place(book->place)) +
                   Row(view, "ISBN", book->isbn);
    content += Tag("dl", details, "class=\"book\"");
    if (!book->description.empty())
        content +=
            Tag("h2", view.Say("{内容|ないよう}")) + Tag("p", Html::Escape(book->description));
    content +=
        Tag("h2", view.Say("この{本|ほん}の{様子|ようす}")) + CopiesTable(view, copies, codes);
    content += Tag("p",
                   waiting == 0 ? view.Say("{予約|よやく}している{人|ひと}はいません。")
                                : view.Say("{予約|よやく}して{待|ま}っている{人|ひと}：") +
                                      Html::Escape(std::to_string(waiting)) + view.Say("{人|にん}"),
                   "class=\"waiting\"");
    content += PupilBookExtras(view, request, id, book->isbn);
    content += Tag("p", Link(view.Url("/"), view.Say("← {本|ほん}をさがす")));
    return PageResponse(view, book->title.empty() ? Plain("{本|ほん}") : book->title, content);
}

}  // namespace

void AddBookRoutes(Router& router) {
    router.Get("/book/{id}", BookPage);
}

}  // namespace kashidashi::opac
