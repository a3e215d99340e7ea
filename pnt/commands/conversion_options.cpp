#include "pnt/commands/conversion_options.h"

#include <CLI/CLI.hpp>

#include "exchange/values.h"
#include "pnt/command_support.h"

void AddConversionOptions(CLI::App* command, ConversionOptions& options, const char* encodingHelp,
                          const char* defaultEncoding) {
  options.encoding = defaultEncoding;
  command->add_option("--datum", options.datum,
                      "Datum of the point file's coordinates: wgs84 (nothing is converted) or "
                      "tokyo (converted to and from the WGS 84 of the exchanged file)")
      ->check(CLI::IsMember({"wgs84", "tokyo"}));
  command->add_option("--utc-offset", options.utcOffset,
                      "Time zone of the point file's dates and times, east of UTC (default +09:00)");
  command->add_option("--encoding", options.encoding, encodingHelp)
      ->check(CLI::IsMember({"auto", "utf-8", "utf-8-bom", "cp932"}));
}

std::optional<Conversion> PrepareConversion(const ConversionOptions& options) {
  Conversion conversion;
  std::optional<int> offset = ParseUtcOffset(options.utcOffset);
  if (!offset) {
    Fail("--utc-offset \"" + options.utcOffset + "\" is not an offset such as +09:00");
    return std::nullopt;
  }
  conversion.offsetMinutes = *offset;
  conversion.tokyo = options.datum == "tokyo";
  return conversion;
}
