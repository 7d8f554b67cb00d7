// Where start-up time goes: with ORVELLA_TRACE set, each named moment is written once to
// standard error as milliseconds since the process began, with the resident size and its peak.
#pragma once

namespace StartTrace {

// "orvella trace: <ms> <moment>"; later marks of the same moment are dropped.
void mark(const char* moment);
// ORVELLA_TRACE is set.
bool enabled();

} // namespace StartTrace
