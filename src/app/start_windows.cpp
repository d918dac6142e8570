#include "app/start_windows.h"

#include <stdexcept>

#include "app/U_Main2.h"
#include "app/U_PassChk.h"
#include "data/U_DM.h"
#include "data/U_MakeTable.h"

namespace kashidashi {
namespace {

StartWindows* current = nullptr;

}  // namespace

StartWindows::StartWindows() {
    if (current) throw std::logic_error("the start windows exist already");
    main2_ = std::make_unique<TMain2>();
    TDM::Create();
    passChk_ = std::make_unique<TPassChk>();
    // Created here as well, in this order, as their units join the program:
    //   TSetRenge1    the date range dialog
    //   TFhenkyaku2   the holder picker
    makeTable_ = std::make_unique<TMakeTable>();
    //   TFgyoumu1_W2  the reservation list window
    //   Tkakunin      the confirmation dialog
    current = this;
}

StartWindows::~StartWindows() {
    current = nullptr;
    makeTable_.reset();
    passChk_.reset();
    main2_.reset();
    TDM::Destroy();
}

TMakeTable& StartWindows::MakeTable() {
    if (!current) throw std::logic_error("the start windows do not exist");
    return *current->makeTable_;
}

}  // namespace kashidashi
