// The filter's pool, counted as Driver Verifier counts it: every block by
// its tag, none left after unload, and an allocation failed on demand.
#include "harness.h"

namespace {

constexpr ULONG kFilterTag = KvFourCc('F', 'i', 'l', 't');

// Blocks the filter holds; it holds a few at a time.
constexpr ULONG kMaxBlocks = 64;
struct Block {
    PVOID Address;
    ULONG Tag;
};
Block g_Blocks[kMaxBlocks];
ULONG g_FailAfter;  // 0: none; N: the Nth allocation from now fails

bool FailThisOne() {
    if (g_FailAfter == 0) return false;
    return --g_FailAfter == 0;
}

bool Remember(PVOID address, ULONG tag) {
    for (Block& block : g_Blocks) {
        if (!block.Address) {
            block = Block{address, tag};
            return true;
        }
    }
    return false;
}

// The tag the block was allocated with, or 0 for a block that is not ours.
ULONG Forget(PVOID address) {
    for (Block& block : g_Blocks) {
        if (block.Address == address) {
            block.Address = nullptr;
            return block.Tag;
        }
    }
    return 0;
}

// Runs with the log lock held.
void Count(PVOID address, ULONG tag) {
    KvVirtAccounting& counts = g_Harness.Counts;
    counts.PoolAllocations += 1;
    counts.PoolOutstanding += 1;
    if (tag != kFilterTag || !Remember(address, tag)) counts.Broken[KVVIRT_RULE_POOL_OWNED] += 1;
}

}  // namespace

extern "C" PVOID NTAPI LedgerAllocate(POOL_TYPE type, SIZE_T bytes, ULONG tag) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    const bool fail = FailThisOne();
    if (fail) g_Harness.Counts.PoolFailures += 1;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
    PVOID address = fail ? nullptr : ExAllocatePoolWithTag(type, bytes, tag);
    if (!address) return nullptr;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    Count(address, tag);
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
    return address;
}

extern "C" VOID NTAPI LedgerFree(PVOID address, ULONG tag) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    KvVirtAccounting& counts = g_Harness.Counts;
    if (Forget(address) != tag || tag != kFilterTag) counts.Broken[KVVIRT_RULE_POOL_OWNED] += 1;
    if (counts.PoolOutstanding) counts.PoolOutstanding -= 1;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
    ExFreePoolWithTag(address, tag);
}

void FailAllocation(ULONG nth) {
    KIRQL irql;
    KeAcquireSpinLock(&g_Harness.LogLock, &irql);
    g_FailAfter = nth;
    KeReleaseSpinLock(&g_Harness.LogLock, irql);
}
