#include "tools/demo_books.h"

#include <cstdio>

#include "platform/half_width.h"
#include "tools/demo_codes.h"
#include "tools/demo_names.h"
#include "tools/demo_school.h"
#include "tools/demo_titles.h"

namespace kashidashi::admin {
namespace {

using engine::Value;

struct Publisher {
    const char* name;
    const char* isbnCode;  // the three digits after "9784"
};

constexpr Publisher kPublishers[] = {
    {"みらい書房", "812"}, {"あおぞら出版", "905"}, {"こだま社", "843"},
    {"ひかり書店", "876"}, {"星の子社", "894"},     {"学びの森出版", "860"},
};
constexpr const char* kSizes[] = {"19cm", "22cm", "27cm"};
constexpr int kAuthors = 60;
constexpr int kNewTitles = 12;  // the last titles, registered within three weeks

// What every copy of one title shares.
struct Title {
    int index = 0;
    DemoTitle title;
    PersonName author;
    const Publisher* publisher = nullptr;
    engine::Date registered;
    engine::Date today;
};

std::string Number(const char* format, int value) {
    char text[24];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Two copies for every twelfth title, three for every thirty-sixth.
int CopiesOf(int index) {
    return index % 36 == 0 ? 3 : index % 12 == 0 ? 2 : 1;
}

engine::Date RegisteredOn(std::mt19937& random, int index, engine::Date today) {
    const int daysAgo = index >= kDemoTitles - kNewTitles ? static_cast<int>(random() % 21)
                                                          : 30 + static_cast<int>(random() % 2500);
    return engine::Date{today.days - daysAgo};
}

exchange::Cells TitleCells(std::mt19937& random, const Title& t) {
    const DemoClass kind = ClassifyDemoTitle(t.title.ndc, t.index);
    const int place = t.index % 41 == 3   ? kPlaceClosedStack
                      : t.index % 17 == 9 ? kPlaceClassroom
                                          : kPlaceLibrary;
    const bool donated = t.index % 9 == 4;
    return {{"tourokubi", Value(t.registered)},
            {"syomei2", Value(t.title.text)},
            {"cyosya1", Value(t.author.name)},
            {"syuppansya", Value(t.publisher->name)},
            {"syuppannen", Value(std::to_string(2000 + random() % 25))},
            {"ookisa", Value(kSizes[random() % 3])},
            {"pageSuu", Value(Number("%dp", 48 + 8 * static_cast<int>(random() % 25)))},
            {"kakaku", Value(1000.0 + 100.0 * (random() % 26))},
            // The class mark, then the first katakana (three UTF-8 bytes) of the author's reading.
            {"seikyu", Value(kind.mark + "/" + t.author.reading.substr(0, 3))},
            {"NDC_ID", Value(kind.ndc)},
            {"yobi1_ID", Value(kind.main)},
            {"HKN_ID", Value(place)},
            {"ZAIGEN_ID", Value(donated ? kFundDonation : kFundBudget)},
            {"UKEIRE_ID", Value(donated ? kSourceDonation : kSourcePurchase)},
            {"heikaF", Value(place == kPlaceClosedStack)},
            {"key2", Value(platform::ToHalfWidthText(t.author.reading))},
            {"ISBN",
             Value(std::string("9784") + t.publisher->isbnCode + Number("%05d", 1000 + t.index))}};
}

// Reference books stay in the library; a few worn copies were discarded.
void AddCopyFlags(exchange::Cells& row, const Title& t, int copy) {
    const bool reference = t.title.ndc == 0 && t.index % 3 == 0;
    const bool discarded = !reference && copy == 0 && t.index % 53 == 7;
    row.emplace_back("kashidashiF", Value(false));
    row.emplace_back("yoyakuF", Value(false));
    row.emplace_back("kintaiF", Value(reference));
    row.emplace_back("tenkenF", Value(false));
    row.emplace_back("haikiF", Value(discarded));
    row.emplace_back("sakujoF", Value(false));
    if (discarded) row.emplace_back("haiki_date", Value(engine::Date{t.today.days - 10}));
}

std::vector<PersonName> Authors(std::mt19937& random) {
    NamePicker names(random);
    std::vector<PersonName> authors;
    for (int i = 0; i < kAuthors; ++i) authors.push_back(names.Adult(i % 2 == 0 ? kMale : kFemale));
    return authors;
}

}  // namespace

std::vector<exchange::Cells> DemoBooks(std::mt19937& random, engine::Date today) {
    const auto authors = Authors(random);
    const auto titles = DemoTitles();
    std::vector<exchange::Cells> rows;
    for (int index = 0; index < static_cast<int>(titles.size()); ++index) {
        Title t{index,
                titles[index],
                authors[random() % authors.size()],
                &kPublishers[random() % std::size(kPublishers)],
                RegisteredOn(random, index, today),
                today};
        const exchange::Cells shared = TitleCells(random, t);
        for (int copy = 0; copy < CopiesOf(index); ++copy) {
            exchange::Cells row{{"BOOK_ID", Value(static_cast<int>(rows.size()) + 1)}};
            row.insert(row.end(), shared.begin(), shared.end());
            AddCopyFlags(row, t, copy);
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace kashidashi::admin
