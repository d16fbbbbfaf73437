#pragma once
// Log file names may carry the day and the time they were started:
// "%DATE" becomes yyyymmdd and "%TIME" becomes hhmmss (upper case only).

#include <string>

#include "common/DateTime.h"

// Replaces every "%DATE" using `date`, then every "%TIME" using `time`.
std::string ExpandLogFileName(const std::string& name, TDateTime date, TDateTime time);
