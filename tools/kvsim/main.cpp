// kvsim: host tool for integrators; runs the driver core on scripted input.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "calibrate_command.h"
#include "registry_export.h"
#include "replay.h"

namespace {

const char kUsage[] =
    "usage: kvsim replay [--reg FILE] [--set NAME=VALUE]... [FILE|-]\n"
    "  Loads the driver settings from a registry export and --set values, then\n"
    "  runs each input line: hex report bytes, or 'ioctl NAME [--out N] [WORD...]'.\n";

int Fail(const std::string& message) {
    std::cerr << "kvsim: " << message << '\n';
    return 2;
}

bool ReadFile(const std::string& path, std::string* bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes->assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

int RunReplay(const std::vector<std::string>& args) {
    kvsim::StoredValues stored;
    std::vector<std::string> assignments;
    std::string inputPath = "-";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--reg" || args[i] == "--set") {
            if (i + 1 == args.size()) return Fail(args[i] + " needs an argument");
            if (args[i] == "--set") {
                assignments.push_back(args[++i]);
                continue;
            }
            std::string bytes;
            const std::string path = args[++i];
            if (!ReadFile(path, &bytes)) return Fail("cannot read " + path);
            kvsim::ParseError error;
            if (!kvsim::ParseRegistryExport(bytes, &stored, &error))
                return Fail(path + (error.line ? ":" + std::to_string(error.line) : "") + ": " + error.message);
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return Fail("unknown option " + args[i] + "\n" + kUsage);
        } else {
            inputPath = args[i];
        }
    }
    // --set wins over the export, whatever the order on the command line.
    for (const std::string& assignment : assignments) {
        std::string error;
        if (!kvsim::ParseAssignment(assignment, &stored, &error)) return Fail(error);
    }
    if (inputPath == "-") return kvsim::Replay(stored, std::cin, std::cout, std::cerr) ? 0 : 1;
    std::ifstream input(inputPath);
    if (!input) return Fail("cannot read " + inputPath);
    return kvsim::Replay(stored, input, std::cout, std::cerr) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage << kvsim::kCalibrateUsage;
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "replay") return RunReplay({args.begin() + 1, args.end()});
    if (args[0] == "calibrate") return kvsim::RunCalibrate({args.begin() + 1, args.end()}, std::cout, std::cerr);
    return Fail("unknown command " + args[0] + "\n" + kUsage);
}
