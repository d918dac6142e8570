// The return and the lending cancellation (Enter in Edit5).
#include "desk/desk.h"

namespace kashidashi::desk {

void Desk::ReturnEntry() {}

}  // namespace kashidashi::desk
