// The backend's diagnostic log: one line per call, to standard error.
#pragma once

void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
