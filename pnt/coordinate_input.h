// Checks on coordinates typed as DMS text before they are stored with ParseDms, which itself
// never fails.
#pragma once

#include <string>
#include <string_view>

// The edit dialog's check: the leading number of the first token (degrees) lies in
// [minDegrees, maxDegrees]. A text without any token fails.
bool DegreesInRange(std::string_view text, long minDegrees, long maxDegrees);

// What is wrong with the minutes or seconds of a DMS text ("" when nothing is). ParseDms
// would carry 75 minutes into the degrees without a word, and "139.7671" (decimal degrees)
// would become 139 degrees 7671 minutes; such texts are refused instead.
std::string DmsFieldProblem(std::string_view text);
