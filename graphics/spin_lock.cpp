// The two process-wide spin locks.
#include "graphics/spin_lock.h"

namespace {

SpinLock objectListLock(false);
SpinLock graphicLock(true);

}  // namespace

SpinLock& ObjectListLock() { return objectListLock; }
SpinLock& GraphicLock() { return graphicLock; }
