// What the lookups read out of the services' answers: the answer's bytes
// (UTF-8, as downloaded) parsed as the document it is, the national
// library's OpenSearch answer with QXmlStreamReader and Rakuten's answer with
// QJsonDocument, each value taken by element or key name, whatever the order
// of the elements and keys and the whitespace between them. Pure functions:
// no download, no message, no book.
//
// Every answer is read whole: one that is cut off, is not the XML or JSON it
// should be, or is not UTF-8 is Broken, and the record is then left exactly
// as it was (a lookup never copies half a book). Values reach the record in
// code page 932 with every "," turned into " ", as the lookups have always
// stored them; the byte rules (the 60-byte title, the first number of a
// price, pages and size from an extent, four authors) are in
// answer_values.h.
#pragma once

#include <string_view>

#include "catalogue/lookup_record.h"

namespace kashidashi::catalogue {

enum class AnswerKind {
    Book,    // the first book of the answer is in the record
    NoBook,  // a whole answer that holds no book
    Broken,  // not a whole answer of the service
};

// The national library's OpenSearch answer (RSS 2.0 with dc:, dcndl: and
// dcterms: elements): the fields of its first <item>, from that item alone:
//   Title, Subtitle   dc:title (60 bytes, the rest as subtitle)
//   TitleReading      dcndl:titleTranscription
//   SeriesTitle       dcndl:seriesTitle, then dcndl:edition, then a blank
//                     and dcndl:volume
//   Author1..4        the first four dc:creator
//   AuthorReading     each of the first four dcndl:creatorTranscription + "/ "
//   Publisher         the first dc:publisher
//   Issued            dcterms:issued
//   Classification    dc:subject of xsi:type dcndl:NDC8, else NDC9, else NDC,
//                     else NDC10
//   Price             the first number of dcndl:price
//   Pages, Size       from the dc:extent values joined by " ; "
// An item without a title is still a Book (the lookup says C. for it).
AnswerKind ReadNdlAnswer(std::string_view bytes, TLookupRecord& r);

// Rakuten's BooksBook search answer, formatVersion 1 ("Items":[{"Item":
// {...}}]) or 2 ("Items":[{...}]): the fields of the first item by key:
// title, titleKana, subTitle, seriesName, author (split at "/" into four),
// authorKana, publisherName, size, itemCaption, salesDate, listPrice (a
// number or text) and itemUrl. An answer without items, or whose first item
// has no title, is NoBook.
AnswerKind ReadRakutenAnswer(std::string_view bytes, TLookupRecord& r);

}  // namespace kashidashi::catalogue
