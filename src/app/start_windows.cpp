#include "app/start_windows.h"

#include <stdexcept>

#include "app/U_Main2.h"
#include "app/U_PassChk.h"
#include "data/U_DM.h"
#include "data/U_MakeTable.h"
#include "desk/U_Fgyoumu1_W2.h"
#include "desk/U_Fhenkyaku2.h"
#include "desk/U_SetRenge1.h"
#include "desk/U_kakunin.h"
#include "desk/desk_windows.h"
#include "library/backup/daily_backup.h"

namespace kashidashi {
namespace {

StartWindows* current = nullptr;

}  // namespace

StartWindows::StartWindows() {
    if (current) throw std::logic_error("the start windows exist already");
    main2_ = std::make_unique<TMain2>();
    TDM::Create();
    passChk_ = std::make_unique<TPassChk>();
    DeskWindows::Create<TSetRenge1>();   // the date range dialog
    DeskWindows::Create<TFhenkyaku2>();  // the holder picker
    makeTable_ = std::make_unique<TMakeTable>();
    DeskWindows::Create<TFgyoumu1_W2>();  // the reservation list window
    DeskWindows::Create<Tkakunin>();      // the confirmation dialog
    current = this;
}

StartWindows::~StartWindows() {
    current = nullptr;
    // A day's backup still running finishes first: it has its own
    // connection, but a program that ended under it would leave no file.
    library::WaitForDailyBackups();
    DeskWindows::Destroy<Tkakunin>();
    DeskWindows::Destroy<TFgyoumu1_W2>();
    makeTable_.reset();
    DeskWindows::Destroy<TFhenkyaku2>();
    DeskWindows::Destroy<TSetRenge1>();
    passChk_.reset();
    main2_.reset();
    TDM::Destroy();
}

TMakeTable& StartWindows::MakeTable() {
    if (!current) throw std::logic_error("the start windows do not exist");
    return *current->makeTable_;
}

}  // namespace kashidashi
