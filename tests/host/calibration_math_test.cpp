// Calibration arithmetic: areas per placement, targets, edge extrapolation,
// final values (worked examples, rotated and mirrored sensors, degenerate
// diagonals, negative edges, extreme input) and the record's byte layout.
#include <gtest/gtest.h>

#include "calibration_math.h"

namespace {

using kvcal::Point;

struct AreaCase {
    uint32_t pos;
    kvcal::Area expected;
};

TEST(CalibrationArea, EachPlacementCoversItsPart) {
    // An odd screen size proves the halves truncate.
    const AreaCase cases[] = {
        {0, {0, 0, 1025, 769}}, {1, {0, 0, 512, 769}},    {2, {512, 0, 1025, 769}},
        {3, {0, 0, 1025, 384}}, {4, {0, 384, 1025, 769}}, {5, {1025, 0, 2050, 769}},
        {6, {0, 0, 1025, 769}}, {7, {0, 0, 1025, 769}},   {0xFFFFFFFFu, {0, 0, 1025, 769}},
    };
    for (const AreaCase& c : cases) {
        const kvcal::Area a = kvcal::AreaForScreenPos(c.pos, 1025, 769);
        EXPECT_EQ(a.left, c.expected.left) << "DBScreenPos " << c.pos;
        EXPECT_EQ(a.top, c.expected.top) << "DBScreenPos " << c.pos;
        EXPECT_EQ(a.right, c.expected.right) << "DBScreenPos " << c.pos;
        EXPECT_EQ(a.bottom, c.expected.bottom) << "DBScreenPos " << c.pos;
    }
}

TEST(CalibrationTargets, QuartersInShowingOrder) {
    const kvcal::Targets t = kvcal::TargetsForArea(1024, 768);
    const Point expected[] = {{256, 192}, {768, 576}, {256, 576}, {768, 192}};
    for (int i = 0; i < kvcal::kTargetCount; ++i) {
        EXPECT_EQ(t.at[i].x, expected[i].x) << "target " << i + 1;
        EXPECT_EQ(t.at[i].y, expected[i].y) << "target " << i + 1;
    }
    // Three quarters of an odd width is (w * 3) / 4, not 3 * (w / 4).
    EXPECT_EQ(kvcal::TargetsForArea(1023, 767).at[1].x, 767);
    EXPECT_EQ(kvcal::TargetsForArea(1023, 767).at[1].y, 575);
    EXPECT_EQ(kvcal::TargetsForArea(INT32_MAX, INT32_MAX).at[1].x, 1610612735);
}

struct EdgeCase {
    const char* what;
    int32_t a, b, atA, atB;
};

TEST(ExtrapolateEdges, Table) {
    const EdgeCase cases[] = {
        {"rising", 500, 1500, 0, 2000},
        {"falling", 1500, 500, 2000, 0},
        {"odd distance truncates", 500, 1501, 0, 2001},
        {"odd distance falling", 1501, 500, 2001, 0},
        {"negative edge", 10, 1000, -485, 1495},
        {"equal values span everything", 700, 700, 0, 8191},
        {"neighbours give no extrapolation", 5, 6, 5, 6},
        {"beyond 32 bits saturates low", INT32_MIN, 0, INT32_MIN, INT32_MAX / 2 + 1},
        {"beyond 32 bits saturates high", -2, INT32_MAX, -1073741826, INT32_MAX},
    };
    for (const EdgeCase& c : cases) {
        const kvcal::EdgePair e = kvcal::ExtrapolateEdges(c.a, c.b);
        EXPECT_EQ(e.atA, c.atA) << c.what;
        EXPECT_EQ(e.atB, c.atB) << c.what;
    }
}

struct CalibrationCase {
    const char* what;
    Point raw[kvcal::kTargetCount];
    int32_t L1, T1, R1, B1, L2, B2, R2, T2;
    int32_t xLow, xHigh, yLow, yHigh;
};

TEST(ComputeCalibration, Table) {
    const CalibrationCase cases[] = {
        {"worked example", {{500, 400}, {1500, 1200}, {502, 1198}, {1498, 402}},
         0, 0, 2000, 1600, 4, 1596, 1996, 4, 2, 1998, 2, 1598},
        {"sensor turned by 90 degrees", {{400, 1500}, {1200, 500}, {1200, 1500}, {400, 500}},
         0, 2000, 1600, 0, 1600, 2000, 0, 0, 0, 1600, 2000, 0},
        {"mirrored on both axes: same signs, halves of each side",
         {{1500, 1200}, {500, 400}, {1498, 402}, {502, 1198}},
         2000, 1600, 0, 0, 1996, 4, 4, 1596, 1998, 2, 1598, 2},
        {"first diagonal degenerate in X", {{1000, 400}, {1000, 1200}, {502, 1198}, {1498, 402}},
         0, 0, 8191, 1600, 4, 1596, 1996, 4, 0, 8191, 2, 1598},
        {"second diagonal degenerate in X, first running backwards",
         {{1500, 400}, {500, 1200}, {900, 1198}, {900, 402}},
         2000, 0, 0, 1600, 0, 1596, 8191, 4, 0, 8191, 2, 1598},
        {"both diagonals degenerate in Y", {{500, 800}, {1500, 800}, {502, 800}, {1498, 800}},
         0, 0, 2000, 8191, 4, 0, 1996, 8191, 2, 1998, 0, 8191},
        {"negative edges halve toward zero", {{10, 10}, {1000, 1000}, {12, 998}, {998, 12}},
         -485, -485, 1495, 1495, -481, 1491, 1491, -481, -483, 1493, -483, 1493},
        {"odd negative sum truncates toward zero", {{10, 10}, {1000, 1000}, {14, 998}, {998, 12}},
         -485, -485, 1495, 1495, -478, 1491, 1490, -481, -481, 1492, -483, 1493},
        {"extreme raw values neither overflow nor wrap",
         {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}},
         INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN,
         INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX},
    };
    for (const CalibrationCase& c : cases) {
        const kvcal::CalibrationRecord r = kvcal::ComputeCalibration(c.raw);
        const int32_t got[] = {r.L1, r.T1, r.R1, r.B1, r.L2, r.B2, r.R2, r.T2, r.XLow, r.XHigh, r.YLow, r.YHigh};
        const int32_t want[] = {c.L1, c.T1, c.R1, c.B1, c.L2, c.B2, c.R2, c.T2, c.xLow, c.xHigh, c.yLow, c.yHigh};
        static const char* const names[] = {"L1", "T1", "R1", "B1", "L2", "B2", "R2", "T2",
                                            "XLow", "XHigh", "YLow", "YHigh"};
        for (size_t i = 0; i < sizeof got / sizeof got[0]; ++i) EXPECT_EQ(got[i], want[i]) << c.what << ": " << names[i];
        EXPECT_EQ(r.XOffset, 0) << c.what;
        EXPECT_EQ(r.YOffset, 0) << c.what;
    }
}

TEST(MeasureSpread, DiagonalsDisagreement) {
    const Point example[] = {{500, 400}, {1500, 1200}, {502, 1198}, {1498, 402}};
    kvcal::AxisSpread x, y;
    kvcal::MeasureSpread(example, 1024, 768, &x, &y);
    EXPECT_FALSE(x.degenerate);
    EXPECT_EQ(x.raw, 4);
    EXPECT_EQ(x.tenthsOfPixel, 21) << "4 of 1996 raw over 1024 pixels";
    EXPECT_EQ(y.raw, 4);
    EXPECT_EQ(y.tenthsOfPixel, 19) << "4 of 1596 raw over 768 pixels";

    // Turned sensor: raw X runs along the screen's height.
    const Point turned[] = {{400, 1500}, {1200, 500}, {1210, 1500}, {400, 500}};
    kvcal::MeasureSpread(turned, 1024, 768, &x, &y);
    EXPECT_EQ(x.raw, 15);
    EXPECT_EQ(x.tenthsOfPixel, 72) << "15 of 1609 raw (-2..1607) over 768 pixels";

    const Point flat[] = {{1000, 400}, {1000, 1200}, {502, 1198}, {1498, 402}};
    kvcal::MeasureSpread(flat, 1024, 768, &x, &y);
    EXPECT_TRUE(x.degenerate);
    EXPECT_FALSE(y.degenerate);
}

TEST(EncodeRecord, FourteenLittleEndianWordsInFieldOrder) {
    kvcal::CalibrationRecord r = {};
    int32_t* fields = &r.L1;
    for (int i = 0; i < 14; ++i) fields[i] = i + 1;
    r.L1 = -2;  // 0xFFFFFFFE
    uint8_t bytes[kvcal::kRecordBytes];
    kvcal::EncodeRecord(r, bytes);
    EXPECT_EQ(bytes[0], 0xFE);
    EXPECT_EQ(bytes[3], 0xFF);
    for (int i = 1; i < 14; ++i) {
        EXPECT_EQ(bytes[4 * i], i + 1) << "word " << i;
        EXPECT_EQ(bytes[4 * i + 1] | bytes[4 * i + 2] | bytes[4 * i + 3], 0) << "word " << i;
    }
    // The driver's CalibrationBlock view: L1, T1, R1, B1 as XLow, YLow, XHigh, YHigh.
    EXPECT_EQ(bytes[8], 3) << "R1 is the trial XHigh";
}

}  // namespace
