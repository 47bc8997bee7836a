// Concurrency through the real stack: one thread pushes thousands of
// reports while others hammer the control codes and arm captures. Every
// report must come back as its own, rewritten exactly once.
#include <gtest/gtest.h>

#include <cstdio>

#include "driver_session.h"
#include "kvshared.h"

namespace kvtest {
namespace {

constexpr int kReports = 4000;

struct Shared {
    volatile LONG stop = 0;
    volatile LONG controlCalls = 0;
    volatile LONG controlFailures = 0;
    volatile LONG captureCalls = 0;
    volatile LONG captureFailures = 0;
};

DWORD WINAPI HammerControlCodes(void* context) {
    auto* shared = static_cast<Shared*>(context);
    HANDLE device = DriverSession::OpenControlDevice();
    if (device == INVALID_HANDLE_VALUE) return 1;
    while (!shared->stop) {
        BYTE out[20];
        DWORD returned = 0;
        const DWORD codes[] = {IOCTL_POINTER_GET_BEEP, IOCTL_POINTER_GET_SCREEN_POS, IOCTL_POINTER_GET_MOUSE_MODE};
        for (DWORD code : codes) {
            if (!DeviceIoControl(device, code, nullptr, 0, out, sizeof out, &returned, nullptr)) {
                InterlockedIncrement(&shared->controlFailures);
            }
            InterlockedIncrement(&shared->controlCalls);
        }
        DWORD echo[3] = {1, 2, 3}, back[3] = {};
        if (!DeviceIoControl(device, IOCTL_POINTER_ECHO, echo, 12, back, 12, &returned, nullptr) || back[2] != 3) {
            InterlockedIncrement(&shared->controlFailures);
        }
    }
    CloseHandle(device);
    return 0;
}

DWORD WINAPI ArmCaptures(void* context) {
    auto* shared = static_cast<Shared*>(context);
    HANDLE device = DriverSession::OpenControlDevice();
    if (device == INVALID_HANDLE_VALUE) return 1;
    while (!shared->stop) {
        DWORD record[3], returned = 0;
        const bool armed = DeviceIoControl(device, IOCTL_POINTER_ARM_CAPTURE, nullptr, 0, nullptr, 0, &returned, nullptr);
        const bool read = DeviceIoControl(device, IOCTL_POINTER_GET_CAPTURE, nullptr, 0, record, 12, &returned, nullptr);
        const bool known = record[0] == CAPTURE_ARMED || record[0] == CAPTURE_TOUCHING || record[0] == CAPTURE_DONE;
        if (!armed || !read || returned != 12 || !known) InterlockedIncrement(&shared->captureFailures);
        InterlockedIncrement(&shared->captureCalls);
    }
    CloseHandle(device);
    return 0;
}

using Stress = DriverTest;
using Timing = DriverTest;  // measurements for make bench, not checks

// Reports alone, each completed at once: the path's rate with the harness's
// own round trip (client, wineserver, winedevice) included.
TEST_F(Timing, ThroughputOfTheStackAlone) {
    const DWORD started = GetTickCount();
    int rewritten = 0;
    for (int i = 0; i < kReports / 4; ++i) {
        const Bytes arrived = session_.Report(RawReport(1, 1024, 512));
        rewritten += arrived.size() == 7 && arrived[2] == 0x10;
    }
    const DWORD elapsed = GetTickCount() - started;
    session_.Report(RawReport(0, 1024, 512));
    EXPECT_EQ(rewritten, kReports / 4);
    std::printf("throughput alone: %d reports in %lu ms (%.0f reports/s)\n", kReports / 4,
                static_cast<unsigned long>(elapsed), elapsed ? kReports / 4 * 1000.0 / elapsed : 0.0);
}

TEST_F(Stress, ReportsStayWholeWhileControlCodesRun) {
    Shared shared;
    HANDLE threads[2] = {CreateThread(nullptr, 0, HammerControlCodes, &shared, 0, nullptr),
                         CreateThread(nullptr, 0, ArmCaptures, &shared, 0, nullptr)};

    int wrong = 0, lost = 0;
    const DWORD started = GetTickCount();
    for (int i = 0; i < kReports; ++i) {
        // Each report carries its own point, so a mix-up shows.
        const int x = i % 2048, y = (i * 7) % 2048;
        const Bytes arrived = session_.Report(RawReport(i % 5 == 4 ? 0 : 1, x, y), 0,
                                             i % 3 == 0 ? KVVIRT_REPORT_COMPLETE_LATER : KVVIRT_REPORT_COMPLETE_AT_ONCE);
        if (arrived.size() != 7) {
            ++lost;
            continue;
        }
        const int screenX = arrived[1] | (arrived[2] << 8), screenY = arrived[3] | (arrived[4] << 8);
        if (screenX != x * 4 || screenY != y * 4) ++wrong;
    }
    const DWORD elapsed = GetTickCount() - started;
    InterlockedExchange(&shared.stop, 1);
    WaitForMultipleObjects(2, threads, TRUE, 10000);
    for (HANDLE thread : threads) {
        DWORD code = 99;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(thread);
    }
    session_.Report(RawReport(0, 0, 0));

    EXPECT_EQ(lost, 0);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(shared.controlFailures, 0);
    EXPECT_EQ(shared.captureFailures, 0);
    EXPECT_GT(shared.controlCalls, 0);
    EXPECT_GT(shared.captureCalls, 0);
    std::printf("throughput: %d reports in %lu ms (%.0f reports/s) beside %ld control and %ld capture requests\n",
                kReports, static_cast<unsigned long>(elapsed), elapsed ? kReports * 1000.0 / elapsed : 0.0,
                static_cast<long>(shared.controlCalls), static_cast<long>(shared.captureCalls));
}

}  // namespace
}  // namespace kvtest
