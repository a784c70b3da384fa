// The two process-wide spin locks: the object list lock and the graphic lock.
#pragma once
#include <windows.h>

// Taken by atomic exchange. A waiter for the object list lock spins; a waiter for the graphic
// lock gives up its time slice between attempts. Neither is re-entrant.
class SpinLock {
public:
    explicit constexpr SpinLock(bool yieldWhileWaiting) : yield_(yieldWhileWaiting) {}
    void Take() {
        while (InterlockedExchange(&taken_, 1) != 0) {
            if (yield_) Sleep(0);
        }
    }
    void Release() { InterlockedExchange(&taken_, 0); }
    bool IsTaken() const { return taken_ != 0; }

private:
    volatile LONG taken_ = 0;
    bool yield_;
};

// Holds a spin lock for one scope.
class SpinLockHold {
public:
    explicit SpinLockHold(SpinLock& lock) : lock_(lock) { lock_.Take(); }
    ~SpinLockHold() { lock_.Release(); }
    SpinLockHold(const SpinLockHold&) = delete;
    SpinLockHold& operator=(const SpinLockHold&) = delete;

private:
    SpinLock& lock_;
};

SpinLock& ObjectListLock();
SpinLock& GraphicLock();
