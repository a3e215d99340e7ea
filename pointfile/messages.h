// The core's user-facing texts, Shift_JIS in the binary (see cmake/OstrelTexts.cmake).
#pragma once

extern const char kUnrecognisedFileFormat[];   // printf format with one %s: the path
extern const char* const kFileCauseTexts[15];  // indexed by FileCause
extern const char kUnknownCauseText[];
