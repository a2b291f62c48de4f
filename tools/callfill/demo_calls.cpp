// The demo call generator: a deterministic random walk over a small restaurant's weeks.
#include "demo_calls.h"

#include "pantry.h"
#include "record_text.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>

namespace {

const char *const kFirstNames[] = {"JOHN",  "MARY",  "ROBERT", "LINDA", "JAMES", "MARIA",
                                   "DAVID", "SUSAN", "CARLOS", "KAREN", "AHMED", "NANCY",
                                   "WEI",   "LISA",  "PAUL",   "ANNA"};
const char *const kLastNames[] = {"SMITH",  "JOHNSON", "GARCIA", "MILLER", "DAVIS", "LOPEZ",
                                  "WILSON", "MOORE",   "TAYLOR", "NGUYEN", "CLARK", "LEWIS",
                                  "HALL",   "YOUNG",   "KING",   "WRIGHT"};
// Of the 400 durations an inbound call is drawn from, those that become hang-ups.
const int32_t kGaveUpOf400 = 24;
const char *const kWithheld[] = {"PRIVATE", "OUT-OF-AREA", "UNKNOWN"};
// Relative weight of each hour of the day: lunch and dinner peaks, quiet nights.
const int kHourWeights[24] = {2,  1,  0, 0, 0, 0,  0,  0,  1,  2, 6, 14,
                              18, 12, 5, 5, 9, 16, 20, 16, 10, 6, 4, 3};
// Sunday .. Saturday; day number 7 (01-07-1900) was a Sunday.
const int kDayWeights[7] = {6, 3, 4, 4, 5, 8, 9};

class Dice {
  public:
    explicit Dice(uint32_t seed) : engine_(seed) {}
    // 0 .. n - 1, the same on every platform.
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(engine_() % n); }
    bool Percent(uint32_t p) { return Below(100) < p; }
    template <size_t N> uint32_t Weighted(const int (&weights)[N]) {
        int total = 0;
        for (int w : weights)
            total += w;
        int pick = static_cast<int>(Below(static_cast<uint32_t>(total)));
        for (size_t i = 0; i < N; ++i) {
            if (pick < weights[i])
                return static_cast<uint32_t>(i);
            pick -= weights[i];
        }
        return 0;
    }

  private:
    std::mt19937 engine_;
};

struct Caller {
    std::string number;
    std::string name;
};

std::string Digits(Dice &dice, int count) {
    std::string digits;
    for (int i = 0; i < count; ++i)
        digits += static_cast<char>('0' + dice.Below(10));
    return digits;
}

std::vector<Caller> MakeCallers(Dice &dice, size_t count) {
    std::vector<Caller> callers;
    for (size_t i = 0; i < count; ++i) {
        const std::string name =
            std::string(kLastNames[dice.Below(16)]) + " " + kFirstNames[dice.Below(16)];
        callers.push_back({"555" + Digits(dice, 7), name});
    }
    return callers;
}

// Regulars call often: the first callers of the list far more than the last.
const Caller &PickCaller(Dice &dice, const std::vector<Caller> &callers) {
    const uint32_t a = dice.Below(static_cast<uint32_t>(callers.size()));
    const uint32_t b = dice.Below(static_cast<uint32_t>(callers.size()));
    return callers[std::min(a, b)];
}

CallLogRecord MakeCall(Dice &dice, const DemoCallPlan &plan, const std::vector<Caller> &customers,
                       const std::vector<Caller> &suppliers, int32_t firstDay) {
    CallLogRecord rec;
    std::memset(&rec, 0, sizeof rec);
    const int32_t days = plan.weeks * 7;
    int32_t day;
    do
        day = firstDay + static_cast<int32_t>(dice.Below(static_cast<uint32_t>(days)));
    while (dice.Below(9) >= static_cast<uint32_t>(kDayWeights[day % 7]));
    rec.Day = day;
    rec.Seconds = static_cast<int32_t>(dice.Weighted(kHourWeights) * 3600 + dice.Below(60) * 60);
    rec.Line = static_cast<int16_t>(1 + dice.Below(static_cast<uint32_t>(plan.lines)));
    rec.Direction = dice.Percent(85) ? 'I' : 'O';
    if (rec.Direction == 'I') {
        if (dice.Percent(8)) {
            PutTextPadded(rec.Number, kWithheld[dice.Below(3)]);
        } else {
            const Caller &caller = PickCaller(dice, customers);
            PutTextPadded(rec.Number, caller.number);
            PutTextNul(rec.Name, caller.name);
        }
        rec.Rings = static_cast<int16_t>(1 + dice.Below(6));
        // Six callers in a hundred give up before the order is taken: the calls the
        // callback list is for. From the same draw, so a seed's other calls stay as they were.
        const int32_t drawn = static_cast<int32_t>(dice.Below(400));
        rec.Duration = drawn < kGaveUpOf400 ? 3 + drawn * 17 / (kGaveUpOf400 - 1) : 20 + drawn;
    } else {
        const Caller &supplier = PickCaller(dice, suppliers);
        PutTextPadded(rec.Number, (dice.Percent(30) ? "1" : "") + supplier.number);
        if (dice.Percent(15))
            PutTextNul(rec.ExtraDigits, Digits(dice, 3) + "#");
        rec.Duration = static_cast<int32_t>(30 + dice.Below(600));
    }
    if (dice.Percent(2))
        rec.Status |= LOG_STATUS_CID_ERROR;
    return rec;
}

} // namespace

std::vector<CallLogRecord> MakeDemoCalls(const DemoCallPlan &plan) {
    Dice dice(plan.seed);
    const std::vector<Caller> customers =
        MakeCallers(dice, std::max<size_t>(12, static_cast<size_t>(plan.calls) / 6));
    const std::vector<Caller> suppliers = MakeCallers(dice, 8);
    const int32_t firstDay = plan.lastDay - plan.weeks * 7 + 1;
    std::vector<CallLogRecord> calls;
    calls.reserve(static_cast<size_t>(plan.calls));
    for (int32_t i = 0; i < plan.calls; ++i)
        calls.push_back(MakeCall(dice, plan, customers, suppliers, firstDay));
    std::stable_sort(calls.begin(), calls.end(),
                     [](const CallLogRecord &a, const CallLogRecord &b) {
                         return a.Day != b.Day ? a.Day < b.Day : a.Seconds < b.Seconds;
                     });
    return calls;
}

bool ParseCallLine(const std::string &line, CallLogRecord &rec) {
    std::istringstream in(line);
    std::string date, time, direction, number;
    int32_t duration = 0, rings = 0, lineNumber = 0;
    uint32_t status = 0;
    if (!(in >> date >> time >> direction >> number >> duration >> rings >> lineNumber >> status))
        return false;
    std::string name, extra;
    std::getline(in >> std::ws, name);
    const size_t bar = name.find('|');
    if (bar != std::string::npos) {
        extra = name.substr(bar + 1);
        name.erase(bar);
    }
    std::memset(&rec, 0, sizeof rec);
    rec.Day = DateToDays(date.c_str());
    rec.Seconds = TimeToSeconds(time.c_str());
    if (rec.Day == 0 || rec.Seconds < 0 || (direction != "I" && direction != "O"))
        return false;
    rec.Direction = direction[0];
    PutTextPadded(rec.Number, number);
    PutTextNul(rec.Name, name);
    PutTextNul(rec.ExtraDigits, extra);
    rec.Duration = duration;
    rec.Rings = static_cast<int16_t>(rings);
    rec.Line = static_cast<int16_t>(lineNumber);
    rec.Status = status;
    return true;
}
