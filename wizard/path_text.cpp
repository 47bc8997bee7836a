// Path and id text of the package.
#include "path_text.h"

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string HidChildId(const std::string& controllerId) {
    return controllerId.size() < 3 ? std::string() : "HID" + controllerId.substr(3);
}

namespace {

template <typename Text>
Text JoinWithin(const Text& base, const Text& tail) {
    if (base.empty()) return Text();
    Text joined = base + tail;
    return joined.size() < kMaxPathChars ? joined : Text();
}

}  // namespace

std::string JoinUnder(const std::string& base, const std::string& tail) { return JoinWithin(base, tail); }

std::wstring JoinUnder(const std::wstring& base, const std::wstring& tail) { return JoinWithin(base, tail); }

std::string QuotedCommand(const std::string& program) { return "\"" + program + "\""; }

bool IsOemInfName(const std::string& infName) { return infName.size() > 3 && infName.compare(0, 3, "oem") == 0; }

std::string PrecompiledInfName(const std::string& infName) {
    const size_t dot = infName.rfind('.');
    return (dot == std::string::npos ? infName : infName.substr(0, dot)) + ".PNF";
}
