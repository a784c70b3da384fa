// Shared by the guard tests: a table of handle owners, each owned for one scope with and without
// handing its handle over.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>

// One owner: how to own a handle for one scope, and what the system says of it afterwards.
struct OwnerCase {
    const char* name;
    void* (*ownForOneScope)(bool handOver);  // the handle the owner held as its scope ended
    DWORD (*probe)(void* handle);            // what the system says of the handle; 0 once it is freed
    DWORD live;
    void (*free)(void* handle);
};

// The handle an owner held as its scope ends, after handing it over when asked.
template <typename Owner>
void* EndScope(Owner& owner, bool handOver) {
    return handOver ? owner.release() : owner.get();
}

// Each owner frees its handle at the end of its scope, unless it handed it over.
inline void ExpectFreedUnlessHandedOver(std::initializer_list<OwnerCase> cases) {
    for (const OwnerCase& c : cases) {
        for (const bool handOver : {false, true}) {
            void* handle = c.ownForOneScope(handOver);
            EXPECT_NE(handle, nullptr) << c.name;
            EXPECT_EQ(c.probe(handle), handOver ? c.live : 0) << c.name << (handOver ? ", handed over" : "");
            if (handOver) c.free(handle);
        }
    }
}
