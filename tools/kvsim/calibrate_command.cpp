// "kvsim calibrate"; see calibrate_command.h.
#include "calibrate_command.h"

#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "calibration_math.h"

namespace kvsim {

const char kCalibrateUsage[] =
    "usage: kvsim calibrate (--area WxH | --pos N --screen WxH) X1 Y1 X2 Y2 X3 Y3 X4 Y4\n"
    "  The raw points captured at targets 1..4 (top left, bottom right, bottom\n"
    "  left, top right); prints the targets, the edges of both diagonals, the\n"
    "  values the calibration program stores and how far the diagonals disagree.\n";

namespace {

struct Options {
    bool haveArea = false, havePos = false, haveScreen = false;
    int32_t width = 0, height = 0, screenWidth = 0, screenHeight = 0;
    uint32_t pos = 0;
    std::vector<int32_t> numbers;
};

bool ParseInt(const std::string& text, int64_t min, int64_t max, int64_t* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max) return false;
    *value = v;
    return true;
}

bool ParseSize(const std::string& text, int32_t* w, int32_t* h) {
    const size_t x = text.find('x');
    int64_t a = 0, b = 0;
    if (x == std::string::npos || !ParseInt(text.substr(0, x), 1, INT32_MAX, &a) ||
        !ParseInt(text.substr(x + 1), 1, INT32_MAX, &b))
        return false;
    *w = static_cast<int32_t>(a);
    *h = static_cast<int32_t>(b);
    return true;
}

// Fills `o` from the arguments; on failure returns the message.
std::string ParseOptions(const std::vector<std::string>& args, Options* o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        int64_t number = 0;
        if (ParseInt(arg, INT32_MIN, INT32_MAX, &number)) {
            o->numbers.push_back(static_cast<int32_t>(number));
            continue;
        }
        if (arg != "--area" && arg != "--pos" && arg != "--screen") return "unknown argument " + arg;
        if (i + 1 == args.size()) return arg + " needs a value";
        const std::string& value = args[++i];
        bool ok = false;
        if (arg == "--area") ok = o->haveArea = ParseSize(value, &o->width, &o->height);
        if (arg == "--screen") ok = o->haveScreen = ParseSize(value, &o->screenWidth, &o->screenHeight);
        if (arg == "--pos") {
            ok = o->havePos = ParseInt(value, 0, UINT32_MAX, &number);
            o->pos = static_cast<uint32_t>(number);
        }
        if (!ok) return "bad value for " + arg + ": " + value;
    }
    if (o->haveArea == (o->havePos || o->haveScreen)) return "give either --area or --pos with --screen";
    if (o->havePos != o->haveScreen) return "--pos and --screen go together";
    if (o->numbers.size() != 8) return "need eight raw values (X1 Y1 .. X4 Y4), got " + std::to_string(o->numbers.size());
    return "";
}

void PrintSpread(std::ostream& out, const char* axis, const kvcal::AxisSpread& s) {
    out << ' ' << axis << '=';
    if (s.degenerate) {
        out << "degenerate";
        return;
    }
    out << s.raw << " raw";
    if (s.tenthsOfPixel >= 0) out << " (" << s.tenthsOfPixel / 10 << '.' << s.tenthsOfPixel % 10 << " px)";
}

}  // namespace

int RunCalibrate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    const std::string problem = ParseOptions(args, &o);
    if (!problem.empty()) {
        err << "kvsim calibrate: " << problem << '\n' << kCalibrateUsage;
        return 2;
    }
    const kvcal::Area area = o.havePos ? kvcal::AreaForScreenPos(o.pos, o.screenWidth, o.screenHeight)
                                       : kvcal::Area{0, 0, o.width, o.height};
    const kvcal::Targets targets = kvcal::TargetsForArea(area.Width(), area.Height());
    kvcal::Point raw[kvcal::kTargetCount];
    for (int i = 0; i < kvcal::kTargetCount; ++i) {
        const size_t x = 2 * static_cast<size_t>(i);
        raw[i] = {o.numbers[x], o.numbers[x + 1]};
    }
    const kvcal::CalibrationRecord r = kvcal::ComputeCalibration(raw);
    kvcal::AxisSpread x, y;
    kvcal::MeasureSpread(raw, area.Width(), area.Height(), &x, &y);

    out << "area " << area.left << ',' << area.top << ' ' << area.right << ',' << area.bottom << " (" << area.Width()
        << 'x' << area.Height() << ")\n";
    out << "targets";
    for (const kvcal::Point& t : targets.at) out << ' ' << t.x << ',' << t.y;
    out << "\nL1=" << r.L1 << " T1=" << r.T1 << " R1=" << r.R1 << " B1=" << r.B1 << " L2=" << r.L2 << " B2=" << r.B2
        << " R2=" << r.R2 << " T2=" << r.T2 << '\n';
    out << "XLow=" << r.XLow << " XHigh=" << r.XHigh << " YLow=" << r.YLow << " YHigh=" << r.YHigh << '\n';
    out << "disagreement";
    PrintSpread(out, "X", x);
    PrintSpread(out, "Y", y);
    out << '\n';
    return 0;
}

}  // namespace kvsim
