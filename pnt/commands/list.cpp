// pnt list: the points in slot order, as a table or as JSON Lines.
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "exchange/cp932.h"
#include "pnt/command_support.h"
#include "pnt/commands/commands.h"

namespace {

struct ListOptions {
  std::string path;
  bool json = false;
};

void PrintJsonLines(const PointFile& file) {
  std::string out;
  for (int i = 0; i < kSlotCount; ++i) {
    if (!file.IsUsed(i)) continue;
    nlohmann::ordered_json line = {
        {"slot", i},
        {"icon", file.GetIcon(i)},
        {"name", Cp932ToUtf8(file.GetName(i))},
        {"location", Cp932ToUtf8(file.GetLocation(i))},
        {"nickname", Cp932ToUtf8(file.GetNickname(i))},
        {"phone", Cp932ToUtf8(file.GetPhone(i))},
        {"longitude", file.GetLongitudeText(i)},
        {"latitude", file.GetLatitudeText(i)},
        {"longitude_units", file.GetLongitude(i)},
        {"latitude_units", file.GetLatitude(i)},
        {"date", file.GetDateText(i)},
        {"time", file.GetTimeText(i)},
        {"voice", file.GetVoiceCode(i) >> 5},
        {"flags", file.GetFlagWord(i)},
        {"checksum_ok", file.GetChecksum(i) == file.ComputeChecksum(i)},
    };
    out += line.dump();
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

// Columns line up by Shift_JIS bytes: a double-byte character is also two columns wide on a
// terminal, so the widths are measured before the texts become UTF-8.
void PrintTable(const PointFile& file) {
  constexpr std::size_t kColumns = 10;
  using Row = std::array<std::string, kColumns>;
  std::vector<Row> rows = {
      {"slot", "icon", "name", "nickname", "location", "phone", "longitude", "latitude", "date", "time"}};
  for (int i = 0; i < kSlotCount; ++i) {
    if (!file.IsUsed(i)) continue;
    rows.push_back({std::to_string(i), file.GetIconText(i), PrintableText(file.GetName(i)),
                    PrintableText(file.GetNickname(i)), PrintableText(file.GetLocation(i)), PrintableText(file.GetPhone(i)),
                    file.GetLongitudeText(i),
                    file.GetLatitudeText(i), file.GetDateText(i), file.GetTimeText(i)});
  }
  std::array<std::size_t, kColumns> width{};
  for (const Row& row : rows) {
    for (std::size_t c = 0; c < kColumns; ++c) width[c] = std::max(width[c], row[c].size());
  }
  std::string out;
  for (const Row& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < kColumns; ++c) {
      bool number = c < 2;
      std::string pad(width[c] - row[c].size(), ' ');
      line += number ? pad + Cp932ToUtf8(row[c]) : Cp932ToUtf8(row[c]) + pad;
      if (c + 1 < kColumns) line += "  ";
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line + '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

void AddListCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<ListOptions>();
  CLI::App* command = app.add_subcommand("list", "Show the points of a point file in slot order");
  command->add_option("FILE", options->path, "Point file (.pnt)")->required();
  command->add_flag("--json", options->json,
                    "One JSON object per used slot, one per line (JSON Lines)");
  command->callback([options, &status] {
    auto opened = OpenPointFile(options->path, MissingFile::kRefuse);
    if (!opened || !opened->signatureMatched) {
      status = kExitFailure;
      return;
    }
    if (options->json) {
      PrintJsonLines(opened->file);
    } else {
      PrintTable(opened->file);
    }
    status = kExitOk;
  });
}
