// The options export and import share: the datum of the point file, the local time its
// stamps are in, and the text encoding of CSV files.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

struct ConversionOptions {
  std::string datum = "wgs84";
  std::string utcOffset = "+09:00";
  std::string encoding;
};

void AddConversionOptions(CLI::App* command, ConversionOptions& options, const char* encodingHelp,
                          const char* defaultEncoding);

struct Conversion {
  bool tokyo = false;  // the point file holds Tokyo datum coordinates
  int offsetMinutes = 0;
};

// Checks the options; prints what is wrong and returns nothing when they cannot be used.
std::optional<Conversion> PrepareConversion(const ConversionOptions& options);
