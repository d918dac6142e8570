#include "load_desk.h"

#include <chrono>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <random>
#include <thread>

#include <QString>
#include <QStringList>

#include "data/U_DM.h"
#include "desk/desk.h"
#include "engine/common/error.h"
#include "widgets/dialogs.h"

namespace kashidashi::load {
namespace {

using Clock = std::chrono::steady_clock;

// What another desk holding a book or a user makes this desk say: specified
// answers when books collide, never errors.
bool Expected(const std::string& text) {
    return text.find("他の場所") != std::string::npos || text.find("貸出中") != std::string::npos ||
           text.find("予約") != std::string::npos ||
           text.find("貸出をキャンセル") != std::string::npos ||
           text.find("取り消します") != std::string::npos;
}

std::vector<std::string> Column(engine::TDBTable& table, const char* field) {
    std::vector<std::string> values;
    table.Open();
    for (table.First(); !table.Eof(); table.Next()) {
        std::string value = table.FieldByName(field).AsString();
        while (!value.empty() && value.back() == ' ') value.pop_back();
        if (!value.empty()) values.push_back(value);
    }
    table.Close();
    return values;
}

// The scans of one visit at the counter: a user card, one to five books,
// ACTION; now and then the return of books this desk lent before.
class Stream {
  public:
    Stream(const Counter& counter) : random_(counter.seed) {
        auto users = Column(TDM::Instance().NAME, "NAME_ID");
        for (size_t i = counter.desk; i < users.size(); i += counter.schoolDesks)
            users_.push_back(users[i]);  // each desk its own users
        books_ = Column(TDM::Instance().BOOK, "BOOK_ID");
        if (users_.empty() || books_.empty()) throw std::runtime_error("no users or books");
    }
    std::string Next() {
        if (queue_.empty()) Visit();
        std::string scan = queue_.front();
        queue_.pop_front();
        return scan;
    }

  private:
    size_t Pick(size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random_);
    }
    void Visit() {
        if (lent_.size() > 3 && Pick(3) == 0) return Returns();
        queue_.push_back(users_[Pick(users_.size())]);
        size_t books = 1 + Pick(5);
        for (size_t i = 0; i < books; ++i) {
            queue_.push_back(books_[Pick(books_.size())]);
            lent_.push_back(queue_.back());
        }
        queue_.push_back("ACTION");
    }
    void Returns() {
        queue_.push_back("RETURN");
        for (size_t i = 0, n = 1 + Pick(3); i < n && !lent_.empty(); ++i) {
            queue_.push_back(lent_.front());
            lent_.pop_front();
        }
        queue_.push_back("LENDING");
    }
    std::mt19937 random_;
    std::vector<std::string> users_, books_;
    std::deque<std::string> queue_, lent_;
};

void Count(Tally& tally, const QStringList& shown) {
    for (const QString& text : shown) {
        std::string line = text.toStdString();
        ++(Expected(line) ? tally.expected : tally.answers)[line];
    }
}

// One scan fed and timed; failures counted by code.
void Scan(desk::Desk& desk, const std::string& scan, Tally& tally, QStringList& shown) {
    auto start = Clock::now();
    try {
        desk.ReplayScan(scan);
    } catch (const engine::EngineError& error) {
        ++tally.errors["engine " + std::to_string(error.code())];
    } catch (const std::exception& error) {
        ++tally.errors[std::string("other ") + error.what()];
    }
    tally.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    Count(tally, std::exchange(shown, {}));
}

// All desks begin together once every one is open (bench/load sets
// KX_LOAD_START, milliseconds since the epoch): the opening of a hundred
// processes on two cores is not the counter's pace.
void WaitForStart() {
    const char* start = std::getenv("KX_LOAD_START");
    if (!start) return;
    std::this_thread::sleep_until(
        std::chrono::system_clock::time_point(std::chrono::milliseconds(std::stoll(start))));
}

}  // namespace

Tally Serve(const Counter& counter) {
    QStringList shown;
    Dialogs::SetResponder([&](const Dialogs::Request& request) {
        if (request.kind != Dialogs::Kind::Modal) shown << Dialogs::DisplayText(request.text);
        return (request.buttons & Dialogs::Cancel) ? Dialogs::Cancel : Dialogs::No;
    });
    Stream stream(counter);
    desk::Desk desk;
    desk.Replay = true;
    // Only the notes of a refused scan: the others tell what the window shows.
    desk.Note = [&](const std::string& note, bool refused) {
        if (refused) shown << QString::fromStdString(note);
    };
    desk.Open();
    Tally tally;
    WaitForStart();
    auto pace = std::chrono::milliseconds(counter.paceMs);
    // Desks start spread over one pace, as counters do not scan in step.
    auto next = Clock::now() + pace * (counter.seed % 1000) / 1000;
    auto end = Clock::now() + std::chrono::seconds(counter.seconds);
    while ((next += pace) < end) {
        std::this_thread::sleep_until(next);
        Scan(desk, stream.Next(), tally, shown);
    }
    desk.ReplayEnd(std::cerr);
    desk.Close();
    Dialogs::SetResponder({});
    return tally;
}

}  // namespace kashidashi::load
