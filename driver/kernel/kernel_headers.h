// The kernel headers as mingw ships them, made usable from C++.
#pragma once

// mingw's DDK headers and its intrinsics header both define these two;
// claiming them here keeps the DDK's definitions out.
#define __INTRINSIC_DEFINED_InterlockedBitTestAndSet    // NOLINT(bugprone-reserved-identifier): mingw's name
#define __INTRINSIC_DEFINED_InterlockedBitTestAndReset  // NOLINT(bugprone-reserved-identifier): mingw's name

extern "C" {
#include <ddk/wdm.h>
#include <usb.h>
#include <usbioctl.h>

// mingw hides these once wdm.h is in.
NTHALAPI BOOLEAN NTAPI HalMakeBeep(ULONG Frequency);
}

// gcc ignores alloc_text: pageable code goes to PAGE, the entry point to
// INIT (discarded after it returns), by section attribute.
#define KV_PAGED __attribute__((section("PAGE")))
#define KV_INIT __attribute__((section("INIT")))
// A function that takes a spin lock (or otherwise runs at raised IRQL) for
// a paged or init caller: gcc would otherwise inline it, and inlined code
// lands in the caller's section. Kept out of line it stays resident
// (.text); a package test reads the built images to hold us to this.
#define KV_NONPAGED __attribute__((noinline))

// A narrow string literal, or a macro that stands for one, as its wide
// twin: the names kvshared.h gives as text, for the kernel's UNICODE_STRINGs.
#define KV_WIDE_LITERAL_(text) L##text
#define KV_WIDE(text) KV_WIDE_LITERAL_(text)

// Four characters as they read in memory (pool tags, signatures).
constexpr ULONG KvFourCc(char a, char b, char c, char d) {
    return static_cast<ULONG>(static_cast<unsigned char>(a)) | (static_cast<ULONG>(static_cast<unsigned char>(b)) << 8) |
           (static_cast<ULONG>(static_cast<unsigned char>(c)) << 16) |
           (static_cast<ULONG>(static_cast<unsigned char>(d)) << 24);
}

constexpr ULONG kPoolTag = KvFourCc('F', 'i', 'l', 't');
