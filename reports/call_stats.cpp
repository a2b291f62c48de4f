// Accumulating the call statistics and composing their page.
#include "call_stats.h"

#include "record_text.h"
#include "report_text.h"

#include <algorithm>
#include <cstring>

namespace {

struct SlotLabel {
    int32_t slot;
    const char *label;
    float offset; // from the table's left edge
};

// Column order of the tables; the Overall column holds slot 4.
const SlotLabel kColumns[] = {{10, "10a", 0.6f},
                              {11, "11a", 1.0f},
                              {12, "12p", 1.4f},
                              {13, "1p", 1.8f},
                              {14, "2p", 2.2f},
                              {15, "3p", 2.6f},
                              {16, "4p", 3.0f},
                              {17, "5p", 3.4f},
                              {18, "6p", 3.8f},
                              {19, "7p", 4.2f},
                              {20, "8p", 4.6f},
                              {21, "9p", 5.0f},
                              {22, "10p", 5.4f},
                              {23, "11p", 5.8f},
                              {0, "12a", 6.2f},
                              {1, "1a", 6.6f},
                              {kOverallSlot, "Overall", 7.16f}};

const char *const kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool IsHourColumn(int32_t hour) {
    return hour == 0 || hour == 1 || (hour >= 10 && hour <= 23);
}

float SlotOffset(int32_t slot) {
    for (const SlotLabel &column : kColumns)
        if (column.slot == slot)
            return column.offset;
    return 0.0f;
}

// "(Avg A) (Hi H) (Lo L)", or "N/A" when nothing was added up.
std::string Figure(int64_t total, int32_t calls, int32_t high, int32_t low) {
    if (total == 0)
        return "N/A";
    return "(Avg " + std::to_string(total / calls) + ") (Hi " + std::to_string(high) + ") (Lo " +
           std::to_string(low) + ")";
}

std::string TopNumberText(const TopNumber &top) {
    if (top.count == 0)
        return "N/A";
    return FmtPhone(TrimBlanks(top.number)) + "  (" + std::to_string(top.count) + " times)";
}

TopNumber TopOf(const NumberTally &tally) {
    if (tally.Empty())
        return {};
    const auto top = tally.Top();
    return {top.first, top.second};
}

StatCellFigures CellFiguresOf(const StatCell &cell) {
    return {cell.inbound, cell.outbound, cell.minutes, cell.a.days, cell.b.days, cell.c.days};
}

int64_t Average(int64_t value, int32_t days) {
    return days == 0 ? 0 : value / days;
}

struct Table {
    const char *title;
    float titleY;
    float y0;
    int64_t (*value)(const StatCellFigures &cell);
};

const Table kTables[] = {
    {"Table of Inbound Call # Averages:", 3.4f, 3.7f,
     [](const StatCellFigures &c) { return Average(c.inbound, c.daysA); }},
    {"Table of Outbound Call # Averages:", 5.7f, 6.0f,
     [](const StatCellFigures &c) { return Average(c.outbound, c.daysB); }},
    {"Table of Call Duration Minute Averages:", 8.0f, 8.3f,
     [](const StatCellFigures &c) { return Average(c.minutes, c.daysC); }},
};

void PrintSummary(ReportEngine &engine, int32_t doc, const StatFigures &f) {
    const StatTotals &s = f.totals;
    engine.pvText(doc, 0.5f, 1.7f, ALIGN_LEFT,
                  "Total Calls For Period = " + GroupThousands(s.totalCalls));
    engine.pvText(doc, 8.0f, 1.7f, ALIGN_RIGHT,
                  "Rings Before Calls Answered = " +
                      Figure(s.totalRings, s.totalCalls, s.highRings, s.lowRings));
    engine.pvText(doc, 0.5f, 1.9f, ALIGN_LEFT,
                  "Total Inbound Calls = " + GroupThousands(s.totalInbound));
    engine.pvText(doc, 0.5f, 2.1f, ALIGN_LEFT,
                  "Total Outbound Calls = " + GroupThousands(s.totalOutbound));
    engine.pvText(doc, 8.0f, 2.1f, ALIGN_RIGHT,
                  "Call Duration Minutes = " +
                      Figure(s.totalMinutes, s.totalCalls, s.highMinutes, s.lowMinutes));
    engine.pvText(doc, 0.5f, 2.4f, ALIGN_LEFT,
                  "Number That Called most: " + TopNumberText(f.inboundTop));
    engine.pvText(doc, 8.0f, 2.4f, ALIGN_RIGHT,
                  "Number Dialed most: " + TopNumberText(f.outboundTop));
    engine.pvText(doc, 0.5f, 2.7f, ALIGN_LEFT,
                  "Caller ID Errors for Period = " + GroupThousands(s.errors));
}

void PrintTable(ReportEngine &engine, int32_t doc, const StatFigures &s, const Table &table) {
    engine.pvFont(doc, 0, 12, COLOUR_BLACK, "Times New Roman");
    engine.pvText(doc, 0.5f, table.titleY, ALIGN_LEFT, table.title);
    PrintStatGrid(engine, doc, 0.5f, table.y0);
    engine.pvFont(doc, 0, 10, COLOUR_BLACK, "Courier New");
    for (int32_t day = 0; day < 7; ++day)
        for (const SlotLabel &column : kColumns)
            PrintStatCell(engine, doc, 0.5f, table.y0, day, column.slot,
                          std::to_string(table.value(s.cells[day][column.slot])));
}

} // namespace

uint32_t NumberTally::Hash(const Key &number) {
    // FNV-1a: numbers differ mostly in their last digits, which every byte's step spreads.
    uint32_t hash = 2166136261u;
    for (char c : number)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

void NumberTally::Grow() {
    slots_.assign(slots_.empty() ? 256 : slots_.size() * 2, 0);
    const size_t mask = slots_.size() - 1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        size_t slot = Hash(entries_[i].number) & mask;
        while (slots_[slot] != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = static_cast<uint32_t>(i + 1);
    }
}

void NumberTally::Add(const char (&number)[20]) {
    Key key;
    std::memcpy(key.data(), number, key.size());
    // At most half full, so a probe always ends at a free slot.
    if (2 * (entries_.size() + 1) > slots_.size())
        Grow();
    const size_t mask = slots_.size() - 1;
    size_t slot = Hash(key) & mask;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
        Entry &entry = entries_[slots_[slot] - 1];
        if (entry.number == key) {
            ++entry.count;
            return;
        }
    }
    entries_.push_back(Entry{key, 1});
    slots_[slot] = static_cast<uint32_t>(entries_.size());
}

std::pair<std::string, int32_t> NumberTally::Top() const {
    size_t top = 0;
    for (size_t i = 1; i < entries_.size(); ++i)
        if (entries_[i].count > entries_[top].count)
            top = i;
    const Entry &entry = entries_[top];
    return {std::string(entry.number.data(), entry.number.size()), entry.count};
}

void DayCounter::Count(int32_t date) {
    if (date > lastDate) {
        lastDate = date;
        ++days;
    }
}

int32_t RoundMinutes(int32_t seconds) {
    int32_t minutes = seconds / 60, rest = seconds % 60;
    if (rest < 0) {
        rest += 60;
        --minutes;
    }
    if (rest > 30 || (rest == 30 && minutes % 2 != 0))
        ++minutes;
    return minutes;
}

void AddStatRecord(CallStats &s, const CallLogRecord &rec, int32_t weekday) {
    const bool inbound = rec.Direction == 'I', outbound = rec.Direction == 'O';
    const bool atStart = (rec.Status & LOG_STATUS_AT_START) != 0;
    const int32_t hour = HourOfDay(rec.Seconds);
    const int32_t minutes = RoundMinutes(rec.Duration);
    StatCell(&days)[kSlots] = s.cells[weekday - 1];
    ++s.totals.totalCalls;
    if (IsHourColumn(hour)) {
        StatCell &cell = days[hour];
        cell.a.Count(rec.Day);
        if (inbound)
            ++cell.inbound;
        if (!atStart) {
            cell.b.Count(rec.Day);
            if (outbound)
                ++cell.outbound;
            cell.c.Count(rec.Day);
            cell.minutes += minutes;
        }
    }
    StatCell &overall = days[kOverallSlot];
    overall.a.Count(rec.Day);
    overall.b.Count(rec.Day);
    overall.c.Count(rec.Day);
    if ((rec.Status & LOG_STATUS_CID_ERROR) != 0)
        ++s.totals.errors;
    if (inbound) {
        ++overall.inbound;
        ++s.totals.totalInbound;
        if (HasDigit(std::string_view(rec.Number, sizeof rec.Number)))
            s.inboundNumbers.Add(rec.Number);
    }
    if (atStart)
        return;
    if (inbound) {
        s.totals.totalRings += rec.Rings;
        s.totals.highRings = std::max<int32_t>(s.totals.highRings, rec.Rings);
        s.totals.lowRings = std::min<int32_t>(s.totals.lowRings, rec.Rings);
    }
    if (outbound) {
        ++overall.outbound;
        ++s.totals.totalOutbound;
        s.outboundNumbers.Add(rec.Number);
    }
    overall.minutes += minutes;
    s.totals.totalMinutes += minutes;
    s.totals.highMinutes = std::max(s.totals.highMinutes, minutes);
    s.totals.lowMinutes = std::min(s.totals.lowMinutes, minutes);
}

void PrintStatGrid(ReportEngine &engine, int32_t doc, float x0, float y0) {
    engine.pvRect(doc, x0, y0, 8.0f, y0 + 1.6f, 1.0f, COLOUR_WHITE, 0);
    engine.pvFont(doc, 0, 10, COLOUR_BLUE, "Courier New");
    for (int32_t day = 0; day < 7; ++day)
        engine.pvText(doc, x0 + 0.05f, y0 + 0.2f * (day + 1), ALIGN_LEFT, kDayNames[day]);
    for (int32_t day = 0; day < 7; ++day) {
        const float y = y0 + 0.2f * (day + 1);
        engine.pvLine(doc, x0, y, 8.0f, y, 1.0f, COLOUR_BLACK);
    }
    engine.pvLine(doc, x0 + 0.42f, y0, x0 + 0.42f, y0 + 1.6f, 1.0f, COLOUR_BLACK);
    engine.pvLine(doc, x0, y0, x0 + 0.42f, y0 + 0.2f, 1.0f, COLOUR_BLACK);
    for (int32_t i = 0; i < 16; ++i) {
        const float x = x0 + 0.82f + 0.4f * i;
        engine.pvLine(doc, x, y0, x, y0 + 1.6f, 1.0f, COLOUR_BLACK);
    }
    engine.pvFont(doc, 0, 10, COLOUR_DARK_RED, "Courier New");
    for (const SlotLabel &column : kColumns)
        engine.pvText(doc, x0 + column.offset, y0, ALIGN_CENTRE, column.label);
}

void PrintStatCell(ReportEngine &engine, int32_t doc, float x0, float y0, int32_t weekday,
                   int32_t slot, const std::string &text) {
    engine.pvText(doc, x0 + SlotOffset(slot), y0 + 0.2f * (weekday + 1), ALIGN_CENTRE, text);
}

StatFigures FiguresOf(const CallStats &stats) {
    StatFigures figures;
    figures.totals = stats.totals;
    figures.inboundTop = TopOf(stats.inboundNumbers);
    figures.outboundTop = TopOf(stats.outboundNumbers);
    for (int32_t day = 0; day < 7; ++day)
        for (int32_t slot = 0; slot < kSlots; ++slot)
            figures.cells[day][slot] = CellFiguresOf(stats.cells[day][slot]);
    return figures;
}

void PrintStatPage(ReportEngine &engine, int32_t doc, const StatFigures &stats,
                   const PageFrame &frame, const std::string &titleSuffix) {
    engine.pvRect(doc, 0.5f, 0.5f, 8.0f, 0.8f, 1.0f, COLOUR_WHITE, 0);
    engine.pvFont(doc, 0, 12, COLOUR_BLACK, "Times New Roman");
    engine.pvText(doc, 4.25f, 0.56f, ALIGN_CENTRE,
                  "Call Statistics from " + RangeHeading(frame) + titleSuffix);
    PrintSummary(engine, doc, stats);
    for (const Table &table : kTables)
        PrintTable(engine, doc, stats, table);
    engine.pvFont(doc, 0, 8, COLOUR_BLACK, "Times New Roman");
    engine.pvText(doc, 0.5f, 10.2f, ALIGN_LEFT, frame.storeName);
    engine.pvText(doc, 8.0f, 10.2f, ALIGN_RIGHT, PrintedOn(frame.now));
}
