#pragma once

#include "widgets/TFlashTimer.h"

#include <string>

// A flash rate as a test case's name ("8Hz" ... "halfHz").
inline std::string FrequencyName(TFrequency f)
{
    switch (f) {
    case ff8Hz: return "8Hz";
    case ff4Hz: return "4Hz";
    case ff2Hz: return "2Hz";
    case ff1Hz: return "1Hz";
    case ff05Hz: return "halfHz";
    }
    return "code" + std::to_string(int(f));
}
