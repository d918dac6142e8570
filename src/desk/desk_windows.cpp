#include "desk/desk_windows.h"

#include <memory>
#include <stdexcept>

#include "desk/U_Fgyoumu1_W2.h"
#include "desk/U_Fhenkyaku2.h"
#include "desk/U_SetRenge1.h"
#include "desk/U_kakunin.h"

namespace kashidashi {
namespace {

template <class W>
std::unique_ptr<W>& Slot() {
    static std::unique_ptr<W> instance;
    return instance;
}

template <class W>
W& Existing() {
    if (!Slot<W>()) throw std::logic_error("a desk dialog was used before the start created it");
    return *Slot<W>();
}

}  // namespace

TSetRenge1& DeskWindows::SetRenge1() {
    return Existing<TSetRenge1>();
}

TFhenkyaku2& DeskWindows::Fhenkyaku2() {
    return Existing<TFhenkyaku2>();
}

TFgyoumu1_W2& DeskWindows::Fgyoumu1_W2() {
    return Existing<TFgyoumu1_W2>();
}

Tkakunin& DeskWindows::Kakunin() {
    return Existing<Tkakunin>();
}

template <class W>
W& DeskWindows::Create() {
    if (Slot<W>()) throw std::logic_error("a desk dialog exists already");
    Slot<W>() = std::make_unique<W>();
    return *Slot<W>();
}

template <class W>
void DeskWindows::Destroy() {
    Slot<W>().reset();
}

template TSetRenge1& DeskWindows::Create<TSetRenge1>();
template TFhenkyaku2& DeskWindows::Create<TFhenkyaku2>();
template TFgyoumu1_W2& DeskWindows::Create<TFgyoumu1_W2>();
template Tkakunin& DeskWindows::Create<Tkakunin>();
template void DeskWindows::Destroy<TSetRenge1>();
template void DeskWindows::Destroy<TFhenkyaku2>();
template void DeskWindows::Destroy<TFgyoumu1_W2>();
template void DeskWindows::Destroy<Tkakunin>();

}  // namespace kashidashi
