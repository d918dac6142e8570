// The desk dialogs that live for the whole run, one instance each: the date
// range dialog, the holder picker, the reservation list window and the
// confirmation dialog. The program's start creates them in its fixed order
// among the other start windows and releases them in the reverse order; desk
// code reaches them here.
#pragma once

namespace kashidashi {

class TSetRenge1;
class TFhenkyaku2;
class TFgyoumu1_W2;
class Tkakunin;

class DeskWindows {
  public:
    // The instance; std::logic_error while it does not exist.
    static TSetRenge1& SetRenge1();
    static TFhenkyaku2& Fhenkyaku2();
    static TFgyoumu1_W2& Fgyoumu1_W2();
    static Tkakunin& Kakunin();

    // Creates the instance (no owner window); std::logic_error when it
    // exists already. W is one of the classes above.
    template <class W>
    static W& Create();
    // Releases the instance, if any.
    template <class W>
    static void Destroy();
};

}  // namespace kashidashi
