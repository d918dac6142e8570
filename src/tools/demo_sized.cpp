#include "tools/demo_sized.h"

#include <cstdio>
#include <random>

#include "exchange/table_cells.h"
#include "platform/half_width.h"
#include "tools/demo_codes.h"
#include "tools/demo_names.h"
#include "tools/demo_sized_plan.h"
#include "tools/demo_titles.h"
#include "tools/demo_users.h"

namespace kashidashi::admin {
namespace {

using engine::Value;
using engine::storage::TableSchema;

constexpr int kStaffCode = 900;
constexpr int64_t kProgressRows = 100'000;

std::string Digits(const char* format, int64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, format, static_cast<long long>(value));
    return text;
}

// One table's rows written straight through the connection: the values in
// the table's column order, a progress line every kProgressRows rows.
class RowWriter {
  public:
    RowWriter(DataFolder& folder, const std::string& table, int64_t total,
              const std::function<void(const std::string&)>& progress)
        : connection_(folder.Database().Connection()),
          schema_(*connection_.DescribeTable(table)),
          total_(total),
          progress_(progress) {}
    int Column(const char* name) const { return *schema_.FindColumn(name); }
    std::vector<Value>& Row() {
        row_.assign(schema_.columns.size(), Value());
        return row_;
    }
    void Write() {
        connection_.InsertRow(schema_, row_);
        if (++written_ % kProgressRows == 0 || written_ == total_)
            progress_(schema_.name + " " + std::to_string(written_) + "/" + std::to_string(total_));
    }

  private:
    engine::storage::Connection& connection_;
    TableSchema schema_;
    int64_t total_, written_ = 0;
    std::function<void(const std::string&)> progress_;
    std::vector<Value> row_;
};

struct Ctx {
    DataFolder& folder;
    const DemoPlan& plan;
    int32_t today;
    std::mt19937& random;
    const std::function<void(const std::string&)>& progress;
};

int64_t ClassCode(const DemoPlan& plan, int64_t pupil) {
    const int64_t cls = pupil % (6 * plan.groupsPerGrade);
    return (cls / plan.groupsPerGrade + 1) * 1000 + cls % plan.groupsPerGrade + 1;
}

std::string UserId(const DemoPlan& plan, int64_t user) {
    return user < plan.pupils ? Digits("1%05lld", user + 1)
                              : Digits("9%05lld", user - plan.pupils + 1);
}

std::string PupilNo(const DemoPlan& plan, int64_t user) {
    return user < plan.pupils ? Digits("%05lld", user + 1)
                              : Digits("9%04lld", user - plan.pupils + 1);
}

void WriteClasses(Ctx& c) {
    RowWriter w(c.folder, "SYOZOKU", 6 * c.plan.groupsPerGrade + 1, c.progress);
    const int id = w.Column("SYOZOKU_ID"), name = w.Column("SYOZOKU");
    for (int64_t grade = 1; grade <= 6; ++grade) {
        for (int64_t group = 1; group <= c.plan.groupsPerGrade; ++group) {
            auto& row = w.Row();
            row[id] = Value(grade * 1000 + group);
            row[name] = Value(std::to_string(grade) + "年" + std::to_string(group) + "組");
            w.Write();
        }
    }
    auto& staff = w.Row();
    staff[id] = Value(kStaffCode);
    staff[name] = Value("職員");
    w.Write();
}

void WriteUsers(Ctx& c) {
    const auto users = static_cast<int64_t>(c.plan.userOpen.size());
    RowWriter w(c.folder, "Name", users, c.progress);
    const int id = w.Column("NAME_ID"), no = w.Column("seito_No"), sex = w.Column("sex"),
              name = w.Column("NAME"), open = w.Column("mihenkyakuSU"),
              group = w.Column("syozoku_ID");
    NamePicker names(c.random);
    for (int64_t u = 0; u < users; ++u) {
        const bool pupil = u < c.plan.pupils;
        const int s = c.random() % 2 == 0 ? kMale : kFemale;
        auto& row = w.Row();
        row[id] = Value(UserId(c.plan, u));
        row[no] = Value(PupilNo(c.plan, u));
        row[sex] = Value(s);
        row[name] = Value(names.Any(s, pupil).name);
        row[open] = Value(static_cast<int>(c.plan.userOpen[u]));
        row[group] = Value(pupil ? ClassCode(c.plan, u) : int64_t{kStaffCode});
        w.Write();
    }
}

std::string Isbn(int64_t title) {
    return "9784" + Digits("%08lld", title + 1);
}

std::string TitleText(const std::vector<std::vector<std::string>>& byClass, const PlanTitle& t) {
    const auto& pool = byClass[t.ndc].empty() ? byClass[9] : byClass[t.ndc];
    const auto& base = pool[t.text % pool.size()];
    const int64_t volume = t.text / static_cast<int64_t>(pool.size());
    return volume == 0 ? base : base + " " + std::to_string(volume + 1);
}

std::vector<std::vector<std::string>> TitlesByClass() {
    std::vector<std::vector<std::string>> byClass(10);
    for (const auto& title : DemoTitles()) byClass[title.ndc].push_back(title.text);
    return byClass;
}

std::vector<PersonName> Authors(std::mt19937& random) {
    NamePicker names(random);
    std::vector<PersonName> authors;
    for (int i = 0; i < 5000; ++i)
        authors.push_back(names.Any(i % 2 == 0 ? kMale : kFemale, false));
    return authors;
}

constexpr const char* kPublishers[] = {"みらい書房", "あおぞら出版", "こだま社",
                                       "ひかり書店", "星の子社",     "学びの森出版"};
constexpr const char* kSizes[] = {"19cm", "22cm", "27cm"};

void SetTitleCells(std::vector<Value>& row, RowWriter& w, const PlanTitle& t, int64_t title,
                   const std::string& text, const PersonName& author, std::mt19937& random) {
    row[w.Column("tourokubi")] = Value(engine::Date{t.registered});
    row[w.Column("syomei2")] = Value(text);
    row[w.Column("cyosya1")] = Value(author.name);
    row[w.Column("syuppansya")] = Value(kPublishers[t.publisher % std::size(kPublishers)]);
    row[w.Column("syuppannen")] = Value(std::to_string(1990 + random() % 36));
    row[w.Column("ookisa")] = Value(kSizes[random() % 3]);
    row[w.Column("pageSuu")] = Value(Digits("%lldp", 32 + 8 * (random() % 40)));
    row[w.Column("kakaku")] = Value(800.0 + 100.0 * (random() % 30));
    const DemoClass kind = ClassifyDemoTitle(t.ndc, title);
    row[w.Column("seikyu")] = Value(kind.mark + "/" + author.reading.substr(0, 3));
    row[w.Column("NDC_ID")] = Value(kind.ndc);
    row[w.Column("yobi1_ID")] = Value(kind.main);
    row[w.Column("HKN_ID")] = Value(title % 41 == 3   ? kPlaceClosedStack
                                    : title % 17 == 9 ? kPlaceClassroom
                                                      : kPlaceLibrary);
    const bool donated = title % 9 == 4;
    row[w.Column("ZAIGEN_ID")] = Value(donated ? kFundDonation : kFundBudget);
    row[w.Column("UKEIRE_ID")] = Value(donated ? kSourceDonation : kSourcePurchase);
    row[w.Column("key2")] = Value(platform::ToHalfWidthText(author.reading));
    row[w.Column("ISBN")] = Value(Isbn(title));
}

void SetCopyCells(std::vector<Value>& row, RowWriter& w, const PlanBook& b, int64_t book,
                  int32_t today) {
    row[w.Column("BOOK_ID")] = Value(book + 1);
    row[w.Column("kashidashiF")] = Value(b.lent);
    row[w.Column("yoyakuF")] = Value(b.reserved);
    row[w.Column("kintaiF")] = Value(b.reference);
    row[w.Column("heikaF")] = Value(row[w.Column("HKN_ID")].Integer() == kPlaceClosedStack);
    row[w.Column("tenkenF")] = Value(false);
    row[w.Column("haikiF")] = Value(b.discarded);
    row[w.Column("sakujoF")] = Value(false);
    row[w.Column("haiki_date")] = b.discarded ? Value(engine::Date{today - 10}) : Value();
}

void WriteBooks(Ctx& c) {
    RowWriter w(c.folder, "Book", static_cast<int64_t>(c.plan.books.size()), c.progress);
    const auto byClass = TitlesByClass();
    const auto authors = Authors(c.random);
    for (size_t title = 0; title < c.plan.titles.size(); ++title) {
        const auto& t = c.plan.titles[title];
        std::vector<Value> shared(w.Row().size());
        SetTitleCells(shared, w, t, static_cast<int64_t>(title), TitleText(byClass, t),
                      authors[t.author], c.random);
        for (int64_t book = t.firstBook; book < t.firstBook + t.copies; ++book) {
            auto& row = w.Row();
            row = shared;
            SetCopyCells(row, w, c.plan.books[book], book, c.today);
            w.Write();
        }
    }
}

void WriteLoans(Ctx& c) {
    RowWriter w(c.folder, "kashibo", static_cast<int64_t>(c.plan.loans.size()), c.progress);
    const int book = w.Column("BOOK_ID"), user = w.Column("NAME_ID"),
              due = w.Column("henkyakuyotei"), open = w.Column("kashidashiF"),
              pupil = w.Column("seitoNo"), lent = w.Column("kashidashibi"),
              back = w.Column("henkyakubi"), isbn = w.Column("ISBN_ID");
    for (const auto& loan : c.plan.loans) {
        auto& row = w.Row();
        row[book] = Value(int64_t{loan.book} + 1);
        row[user] = Value(UserId(c.plan, loan.user));
        row[due] = Value(engine::Date{loan.lentOn + kLoanDays});
        row[open] = Value(loan.returnedOn == 0 ? "1" : "0");
        row[pupil] = Value(PupilNo(c.plan, loan.user));
        row[lent] = Value(engine::Date{loan.lentOn});
        if (loan.returnedOn != 0) row[back] = Value(engine::Date{loan.returnedOn});
        row[isbn] = Value(Isbn(c.plan.books[loan.book].title));
        w.Write();
    }
}

void WriteReservations(Ctx& c) {
    const auto& list = c.plan.reservations;
    RowWriter w(c.folder, "yoyaku", static_cast<int64_t>(list.size()), c.progress);
    const int book = w.Column("Book_ID"), number = w.Column("yoyaku_No"),
              user = w.Column("Name_ID"), pupil = w.Column("Seito_No"), name = w.Column("Name"),
              day = w.Column("yoyakubi"), isbn = w.Column("ISBN_ID"),
              moment = w.Column("yoyakuDTime");
    for (size_t i = 0; i < list.size(); ++i) {
        const auto& r = list[i];
        auto& row = w.Row();
        row[book] = Value(int64_t{r.book} + 1);
        row[number] = Value(r.number);
        row[user] = Value(UserId(c.plan, r.user));
        row[pupil] = Value(PupilNo(c.plan, r.user));
        row[name] = Value("利用者 " + UserId(c.plan, r.user));
        row[day] = Value(engine::Date{r.madeOn});
        row[isbn] = Value(Isbn(c.plan.books[r.book].title));
        // In the order they were made: a second apart, from nine in the morning.
        row[moment] = Value(engine::DateTime{int64_t{r.madeOn} * engine::kMsecsPerDay +
                                             9 * 3'600'000 + static_cast<int64_t>(i) * 1000});
        w.Write();
    }
}

void WriteCodes(DataFolder& folder) {
    for (const auto& [name, rows] : {std::pair{"NDC", DemoNdc()},
                                     {"HKN", DemoPlaces()},
                                     {"ZAIGEN", DemoFunds()},
                                     {"UKEIRE", DemoSources()},
                                     {"Reg", DemoSettings()}}) {
        auto table = folder.Table(name);
        table->Open();
        exchange::AppendRows(*table, rows);
        table->Close();
    }
}

DemoCounts Counted(const DemoPlan& plan, int32_t today) {
    DemoCounts counts{
        static_cast<int64_t>(plan.userOpen.size()), static_cast<int64_t>(plan.books.size()),
        static_cast<int64_t>(plan.titles.size()), static_cast<int64_t>(plan.loans.size())};
    for (const auto& loan : plan.loans) {
        if (loan.returnedOn != 0) continue;
        ++counts.openLoans;
        if (loan.lentOn + kLoanDays < today) ++counts.overdue;
    }
    counts.reservations = static_cast<int64_t>(plan.reservations.size());
    return counts;
}

}  // namespace

DemoCounts WriteSizedDemo(DataFolder& folder, const DemoSizes& sizes, engine::Date today,
                          const std::function<void(const std::string&)>& progress) {
    if (sizes.users < 2 || sizes.users > 90'000 || sizes.books < 1 || sizes.books > 9'999'999 ||
        sizes.loans < 0 || sizes.reservations < 0)
        throw AdminError("大きさが範囲外です（利用者 2〜90000人、図書 1〜9999999冊）");
    std::mt19937 random(sizes.seed);
    const DemoPlan plan = PlanSchool(sizes, today.days, random);
    Ctx c{folder, plan, today.days, random, progress};
    WriteCodes(folder);
    WriteClasses(c);
    WriteUsers(c);
    WriteBooks(c);
    WriteLoans(c);
    WriteReservations(c);
    return Counted(plan, today.days);
}

}  // namespace kashidashi::admin
