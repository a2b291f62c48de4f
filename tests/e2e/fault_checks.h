// What every fault test ends with: the server still runs, within bounded processor time and
// memory, without a message box and answering its window.
#pragma once
#include <string>
#include <vector>

#include "e2e_session.h"
#include "fault_watch.h"

// Processor time and working-set growth since `from`, printed for the test's log.
void ExpectUsageWithinBounds(const ChildProcess &process, const UsageMark &from);
void ExpectServerSound(Session &session, const UsageMark &from);

// The CR LF ended lines of a text, without their CR LF; an unended tail is left out.
std::vector<std::string> CrLfLines(const std::string &text);
