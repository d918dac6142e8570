#include "desk/scan_replay.h"

#include <QString>
#include <QStringList>

#include "desk/desk.h"
#include "engine/common/dates.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

// What the operator would have seen of one scan: the messages, in order.
class Messages {
  public:
    Messages() {
        Dialogs::SetResponder([this](const Dialogs::Request& request) {
            if (request.kind != Dialogs::Kind::Modal) texts_ << Dialogs::DisplayText(request.text);
            return (request.buttons & Dialogs::Cancel) ? Dialogs::Cancel : Dialogs::No;
        });
    }
    ~Messages() { Dialogs::SetResponder({}); }
    QStringList Take() { return std::exchange(texts_, {}); }

  private:
    QStringList texts_;
};

// Only the cancellation's message tells of a scan that was taken.
bool Refuses(const QStringList& messages) {
    for (const QString& text : messages)
        if (text != QStringLiteral("貸出をキャンセルしました。")) return true;
    return false;
}

void SetDates(Desk& desk, const exchange::ScanLine& scan) {
    engine::SetFixedNow(scan.at);
    if (!scan.at) return;
    desk.state.LoanDate = engine::Today();
    desk.state.DueDate = engine::Date{desk.state.LoanDate.days + desk.state.LoanPeriodDays};
}

}  // namespace

bool ReplayScans(const std::vector<exchange::ScanLine>& scans, std::ostream& out) {
    Messages messages;
    Desk desk;
    desk.Replay = true;
    QStringList notes;
    desk.Note = [&](const std::string& note, bool) { notes << QString::fromStdString(note); };
    desk.Open();
    bool allTaken = true;
    for (const auto& scan : scans) {
        SetDates(desk, scan);
        bool taken = desk.ReplayScan(scan.scan);
        QStringList shown = messages.Take();
        taken = taken && !Refuses(shown);
        shown << std::exchange(notes, {});
        out << scan.number << '\t' << scan.scan << '\t' << shown.join(" / ").toStdString() << '\n';
        allTaken = allTaken && taken;
    }
    engine::SetFixedNow(std::nullopt);
    allTaken = desk.ReplayEnd(out) && allTaken;
    desk.Close();
    return allTaken;
}

}  // namespace kashidashi::desk
