// kvvirt.exe: drives the virtual touch controller from the command line,
// so shell tests can touch the screen while the real programs run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kvvirt_client.h"
#include "process_runner.h"

namespace {

const char kUsage[] =
    "usage: kvvirt [--controller N] VERB [ARGS]\n"
    "  start                      install and start the harness, bring controller 0 up\n"
    "  report HEX...              send one report up; print the bytes that arrive above the driver\n"
    "  touch X Y [N]              N contact reports (default 8) at raw (X, Y), then a release\n"
    "  beeps                      print and clear the recorded beeps, FREQ MS a line\n"
    "  requests                   print and clear the class requests the device received\n"
    "  pnp surprise|remove|stop|query-stop|d3|d0|add-second\n"
    "  unload                     remove every controller and unload the driver\n";

struct Named {
    const char* name;
    DWORD request;
};
const Named kPnpRequests[] = {
    {"surprise", KVVIRT_PNP_SURPRISE_REMOVAL}, {"remove", KVVIRT_PNP_REMOVE}, {"stop", KVVIRT_PNP_STOP},
    {"query-stop", KVVIRT_PNP_QUERY_STOP},     {"d3", KVVIRT_POWER_D3},       {"d0", KVVIRT_POWER_D0},
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "kvvirt: %s\n", message.c_str());
    return 1;
}

void PrintHex(const std::vector<BYTE>& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) std::printf(i ? " %02x" : "%02x", bytes[i]);
    std::printf("\n");
}

bool ParseNumber(const char* text, unsigned long limit, unsigned long* value) {
    char* end = nullptr;
    *value = std::strtoul(text, &end, 0);
    return *text && !*end && *value <= limit;
}

int SendReport(kvvirt::Client& client, DWORD controller, const std::vector<BYTE>& bytes) {
    std::vector<BYTE> arrived;
    std::string error;
    if (!client.Report(bytes, &arrived, &error, controller)) return Fail(error);
    PrintHex(arrived);
    return 0;
}

int Report(kvvirt::Client& client, DWORD controller, int argc, char** argv) {
    std::vector<BYTE> bytes;
    for (int i = 0; i < argc; ++i) {
        unsigned long value;
        if (!ParseNumber((std::string("0x") + argv[i]).c_str(), 0xFF, &value)) return Fail(std::string("not a byte: ") + argv[i]);
        bytes.push_back(static_cast<BYTE>(value));
    }
    return SendReport(client, controller, bytes);
}

int Touch(kvvirt::Client& client, DWORD controller, int argc, char** argv) {
    unsigned long x, y, count = 8;
    if (argc < 2 || argc > 3 || !ParseNumber(argv[0], 0xFFFF, &x) || !ParseNumber(argv[1], 0xFFFF, &y) ||
        (argc == 3 && !ParseNumber(argv[2], 100000, &count))) {
        return Fail("touch takes X Y [N] with raw coordinates 0..65535");
    }
    std::vector<BYTE> report = {1, BYTE(x), BYTE(x >> 8), BYTE(y), BYTE(y >> 8), 0, 0};
    for (unsigned long i = 0; i < count; ++i) {
        if (SendReport(client, controller, report) != 0) return 1;
    }
    report[0] = 0;
    return SendReport(client, controller, report);
}

int Beeps(kvvirt::Client& client) {
    std::vector<KvVirtBeep> beeps;
    std::string error;
    if (!client.TakeBeeps(&beeps, &error)) return Fail(error);
    for (const KvVirtBeep& beep : beeps) {
        if (beep.Milliseconds == 0xFFFFFFFFu) std::printf("%u sounding\n", beep.Frequency);
        else std::printf("%u %u\n", beep.Frequency, beep.Milliseconds);
    }
    return 0;
}

int Requests(kvvirt::Client& client) {
    std::vector<KvVirtClassRequest> requests;
    std::string error;
    if (!client.TakeRequests(&requests, &error)) return Fail(error);
    for (const KvVirtClassRequest& r : requests) {
        std::printf("%u %04x %u", r.Request, r.Value, r.Length);
        const uint32_t shown = r.DeviceToHost ? 0 : (r.Length < KVVIRT_MAX_REQUEST_DATA ? r.Length : KVVIRT_MAX_REQUEST_DATA);
        for (uint32_t i = 0; i < shown; ++i) std::printf(" %02x", r.Data[i]);
        std::printf("\n");
    }
    return 0;
}

int Pnp(kvvirt::Client& client, DWORD controller, int argc, char** argv) {
    std::string error;
    if (argc != 1) return Fail("pnp takes one request");
    if (std::strcmp(argv[0], "add-second") == 0) {
        DWORD index;
        if (!client.AddController(&index, &error)) return Fail(error);
        std::printf("controller %lu\n", static_cast<unsigned long>(index));
        return 0;
    }
    for (const Named& named : kPnpRequests) {
        if (std::strcmp(argv[0], named.name) != 0) continue;
        LONG status;
        if (!client.Pnp(controller, named.request, &status, &error)) return Fail(error);
        std::printf("%s\n", kvvirt::FormatStatus(status).c_str());
        return status < 0 ? 1 : 0;
    }
    return Fail(std::string("unknown pnp request: ") + argv[0]);
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long controller = 0;
    int next = 1;
    if (argc > 2 && std::strcmp(argv[1], "--controller") == 0) {
        if (!ParseNumber(argv[2], KVVIRT_MAX_CONTROLLERS - 1, &controller)) return Fail("bad controller number");
        next = 3;
    }
    if (next >= argc) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string verb = argv[next];
    const int restCount = argc - next - 1;
    char** rest = argv + next + 1;
    kvvirt::Client client;
    std::string error;
    if (verb == "start") return client.Start(kvtest::ThisProgramFolder(), &error) ? 0 : Fail(error);
    if (verb == "report") return Report(client, controller, restCount, rest);
    if (verb == "touch") return Touch(client, controller, restCount, rest);
    if (verb == "beeps") return Beeps(client);
    if (verb == "requests") return Requests(client);
    if (verb == "pnp") return Pnp(client, controller, restCount, rest);
    if (verb == "unload") return client.Unload(&error) ? 0 : Fail(error);
    std::fputs(kUsage, stderr);
    return 2;
}
