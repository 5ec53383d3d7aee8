// Dates of well data records (perforations, profiles) as the kits show and
// filter them, through the calendar of <chrono>.
//
// The database keeps dates as "YYYY-MM-DD". Data objects hand them out as
// DataDate (data_io.h) and list them as "%4d-%02d-%02d" texts; a record
// without a valid date reads as -1 in every part ("  -1--1--1").
#ifndef DAVODU_DATA_DATA_DATE_H_
#define DAVODU_DATA_DATA_DATE_H_

#include <chrono>
#include <string>
#include <string_view>

#include "davodu/data/data_io.h"

namespace davodu {

// The date of no valid day: -1 in every part.
constexpr DataDate kInvalidDate{-1, -1, -1};

// Reads a date written as a year of four digits, a separator, a month of
// one or two digits, a separator and a day of one or two digits
// ("2012-05-01", "2012/5/1"); blanks around it are allowed, anything after
// the day is not. Every read is bounds-checked: a text too short, a part
// that is not a number, or a day the calendar does not have (2011-02-29)
// gives false and leaves *out alone.
bool ParseDataDate(std::string_view text, DataDate* out);

// Whether the parts make a day of the calendar.
bool IsValidDate(const DataDate& date);

// "%4d-%02d-%02d" of the parts: "2012-05-01", "  -1--1--1".
std::string FormatDataDate(const DataDate& date);

// The day of a valid date, for comparisons.
std::chrono::sys_days DaysOf(const DataDate& date);

}  // namespace davodu

#endif  // DAVODU_DATA_DATA_DATE_H_
