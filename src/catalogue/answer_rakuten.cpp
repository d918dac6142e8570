// ReadRakutenAnswer: the first item of Rakuten's BooksBook search answer.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "catalogue/answer_read.h"
#include "catalogue/answer_values.h"
#include "platform/utf8.h"

namespace kashidashi::catalogue {
namespace {

// A text as it is, a number as its digits ("2373"), anything else "".
std::string Text(const QJsonObject& item, const char* key) {
    const QJsonValue v = item.value(QLatin1StringView(key));
    if (v.isString()) return AnswerValue(v.toString().toStdString());
    if (v.isDouble()) return QString::number(v.toDouble(), 'f', 0).toStdString();
    return {};
}

// The first item: the object under "Item" (formatVersion 1) or the element
// itself (formatVersion 2); empty when there is none.
QJsonObject FirstItem(const QJsonObject& answer) {
    const QJsonArray items = answer.value(u"Items").toArray();
    if (items.isEmpty()) return {};
    const QJsonObject first = items.first().toObject();
    const QJsonValue wrapped = first.value(u"Item");
    return wrapped.isObject() ? wrapped.toObject() : first;
}

void Fill(const QJsonObject& item, TLookupRecord& r) {
    r.Title = Text(item, "title");
    r.TitleReading = Text(item, "titleKana");
    r.Subtitle = Text(item, "subTitle");
    r.SeriesTitle = Text(item, "seriesName");
    SplitAuthors(Text(item, "author"), r);
    r.AuthorReading = Text(item, "authorKana");
    r.Publisher = Text(item, "publisherName");
    r.Size = Text(item, "size");
    r.Caption = Text(item, "itemCaption");
    r.Issued = Text(item, "salesDate");
    r.Price = Text(item, "listPrice");
    r.Url = Text(item, "itemUrl");
}

}  // namespace

AnswerKind ReadRakutenAnswer(std::string_view bytes, TLookupRecord& r) {
    if (!platform::utf8::IsValid(bytes)) return AnswerKind::Broken;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);  // JSON has no byte-order mark
    QJsonParseError error;
    const QJsonDocument answer = QJsonDocument::fromJson(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
    if (error.error != QJsonParseError::NoError || !answer.isObject()) return AnswerKind::Broken;
    TLookupRecord found;
    Fill(FirstItem(answer.object()), found);
    if (found.Title.empty()) return AnswerKind::NoBook;
    r = found;
    return AnswerKind::Book;
}

}  // namespace kashidashi::catalogue
