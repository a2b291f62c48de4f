// Parsing of call specifications and scenario files, and the demonstration call stream.
#include "scenario.h"

#include <cstdlib>

namespace {

bool ParseInt(const std::string &text, int &value) {
    if (text.empty()) {
        return false;
    }
    char *end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0') {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool SetTime(CallEvent &call, const std::string &value) {
    int hour = 0, minute = 0;
    const size_t colon = value.find(':');
    if (colon == std::string::npos || !ParseInt(value.substr(0, colon), hour) ||
        !ParseInt(value.substr(colon + 1, 2), minute)) {
        return false;
    }
    if (value.size() > colon + 3) {
        call.time = value.substr(0, colon + 3);
        call.meridiem = value.substr(colon + 3);
        return true;
    }
    SetClockTime(call, hour, minute);
    return hour >= 0 && hour < 24;
}

bool SetKey(CallEvent &call, const std::string &key, const std::string &value) {
    if (key == "line") {
        return ParseInt(value, call.line);
    }
    if (key == "dur") {
        return ParseInt(value, call.duration);
    }
    if (key == "rings") {
        return ParseInt(value, call.rings);
    }
    if (key == "dir" || key == "event" || key == "check") {
        char &field = key == "dir" ? call.direction : key == "event" ? call.event : call.check;
        field = value.empty() ? ' ' : value[0];
        return value.size() <= 1;
    }
    if (key == "date") {
        call.date = value;
        return true;
    }
    if (key == "time") {
        return SetTime(call, value);
    }
    if (key == "meridiem") {
        call.meridiem = value;
        return true;
    }
    if (key == "number") {
        call.number = value;
        return true;
    }
    if (key == "name") {
        call.name = value;
        return true;
    }
    return false;
}

// "COUNT PER_SECOND FIELDS" of a flood step.
bool ParseFlood(const std::string &text, Step &step, std::string &error) {
    const size_t first = text.find(' ');
    const size_t second = first == std::string::npos ? first : text.find(' ', first + 1);
    if (second == std::string::npos || !ParseInt(text.substr(0, first), step.count) ||
        !ParseInt(text.substr(first + 1, second - first - 1), step.perSecond) || step.count < 1 ||
        step.perSecond < 1) {
        return false;
    }
    return ParseCall(text.substr(second + 1), step.call, error);
}

const char *const kNames[] = {"JOHN SMITH",   "MARIA GARCIA", "WIRELESS CALLER", "LEE CHEN",
                              "ANNA M BROWN", "PIZZA LOVERS", "O'NEIL PATRICK",  "DAVIS J",
                              "NGUYEN TRAN",  "ROSSI LUCA"};

} // namespace

bool ParseCall(const std::string &fields, CallEvent &call, std::string &error) {
    size_t at = 0;
    while (at < fields.size()) {
        const size_t equals = fields.find('=', at);
        if (equals == std::string::npos) {
            error = "expected key=value in \"" + fields.substr(at) + "\"";
            return false;
        }
        const std::string key = fields.substr(at, equals - at);
        std::string value;
        size_t next;
        if (equals + 1 < fields.size() && fields[equals + 1] == '"') {
            const size_t close = fields.find('"', equals + 2);
            if (close == std::string::npos) {
                error = "unclosed quote after " + key;
                return false;
            }
            value = fields.substr(equals + 2, close - equals - 2);
            next = fields.find(',', close);
        } else {
            next = fields.find(',', equals);
            value = fields.substr(equals + 1, next == std::string::npos ? next : next - equals - 1);
        }
        if (!SetKey(call, key, value)) {
            error = "bad value for " + key + ": \"" + value + "\"";
            return false;
        }
        at = next == std::string::npos ? fields.size() : next + 1;
    }
    return true;
}

std::string Unescape(const std::string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'r') {
            out += '\r';
        } else if (c == 'n') {
            out += '\n';
        } else if (c == 't') {
            out += '\t';
        } else if (c == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

bool ParseStepLine(const std::string &line, std::vector<Step> &steps, std::string &error) {
    const size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string::npos || line[start] == '#') {
        return true;
    }
    const size_t space = line.find(' ', start);
    const std::string verb = line.substr(start, space == std::string::npos ? space : space - start);
    std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    while (!rest.empty() && rest.back() == '\r') {
        rest.pop_back();
    }
    Step step;
    int number = 0;
    if (verb == "call") {
        step.kind = Step::Call;
        if (!ParseCall(rest, step.call, error)) {
            return false;
        }
    } else if (verb == "wait" && ParseInt(rest, number) && number >= 0) {
        step.kind = Step::Wait;
        step.waitMs = number;
    } else if (verb == "raw") {
        step.kind = Step::Raw;
        step.bytes = Unescape(rest);
    } else if (verb == "long" && ParseInt(rest, number) && number > 0) {
        step.kind = Step::Long;
        step.length = static_cast<size_t>(number);
    } else if (verb == "flood" && ParseFlood(rest, step, error)) {
        step.kind = Step::Flood;
    } else {
        if (error.empty()) {
            error = "cannot read scenario line \"" + line + "\"";
        }
        return false;
    }
    steps.push_back(step);
    return true;
}

DemoCalls::DemoCalls(int lineCount, double callsPerMinute, uint32_t seed)
    : random_(seed), busyUntil_(static_cast<size_t>(lineCount > 0 ? lineCount : 1), 0),
      meanGapMs_(60000.0 / (callsPerMinute > 0 ? callsPerMinute : 1)) {}

CallEvent DemoCalls::NewCall(int line) {
    std::uniform_int_distribution<int> percent(0, 99), digits(0, 9999), exchange(200, 999);
    CallEvent call;
    call.line = line;
    call.event = 'S';
    const int kind = percent(random_);
    if (kind < 20) {
        call.direction = 'O';
        call.number = std::to_string(exchange(random_)) + "-" + std::to_string(exchange(random_)) +
                      "-" + std::to_string(1000 + digits(random_) % 9000);
        return call;
    }
    call.direction = 'I';
    call.rings = 1;
    call.number = "555-" + std::to_string(exchange(random_)) + "-" +
                  std::to_string(1000 + digits(random_) % 9000);
    call.name = kNames[percent(random_) % (sizeof kNames / sizeof kNames[0])];
    if (kind < 28) {
        call.number = "PRIVATE";
        call.name = "PRIVATE CALLER";
    } else if (kind < 33) {
        call.number = "OUT-OF-AREA";
        call.name = "OUT-OF-AREA";
    } else if (kind < 37) {
        call.check = 'E';
    }
    return call;
}

std::vector<CallEvent> DemoCalls::Due(int64_t nowMs) {
    std::vector<CallEvent> due;
    for (size_t i = 0; i < ends_.size();) {
        if (ends_[i].atMs <= nowMs) {
            due.push_back(ends_[i].call);
            ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    std::exponential_distribution<double> gap(1.0 / meanGapMs_);
    if (nextStartMs_ < 0) {
        nextStartMs_ = nowMs + static_cast<int64_t>(gap(random_) / 4);
    }
    if (nowMs < nextStartMs_) {
        return due;
    }
    nextStartMs_ = nowMs + static_cast<int64_t>(gap(random_));
    std::vector<int> free;
    for (size_t i = 0; i < busyUntil_.size(); ++i) {
        if (busyUntil_[i] <= nowMs) {
            free.push_back(static_cast<int>(i) + 1);
        }
    }
    if (free.empty()) {
        return due;
    }
    const int line = free[std::uniform_int_distribution<size_t>(0, free.size() - 1)(random_)];
    CallEvent start = NewCall(line);
    const int seconds = std::uniform_int_distribution<int>(4, 40)(random_);
    CallEvent end = start;
    end.event = 'E';
    end.duration = seconds;
    if (start.direction == 'I') {
        end.rings = std::uniform_int_distribution<int>(1, 5)(random_);
    } else {
        end.name = std::uniform_int_distribution<int>(0, 3)(random_) == 0 ? "1234#" : "";
    }
    busyUntil_[static_cast<size_t>(line - 1)] = nowMs + seconds * 1000 + 500;
    ends_.push_back({nowMs + seconds * 1000, end});
    due.push_back(start);
    return due;
}
