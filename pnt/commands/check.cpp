// pnt check: everything that can be wrong in a point file before it goes back into the car.
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "exchange/cp932.h"
#include "exchange/point_waypoint.h"
#include "exchange/values.h"
#include "pnt/command_support.h"
#include "pnt/commands/commands.h"
#include "pointfile/point_record.h"

namespace {

// Japan with its outlying islands, generously.
constexpr double kSouth = 20, kNorth = 46, kWest = 122, kEast = 154;
constexpr int kLastIconWithPicture = 55;

struct CheckOptions {
  std::string path;
  bool fixChecksums = false;
  bool backup = false;
};

struct Findings {
  int count = 0;
  void Add(int slot, const std::string& text) {
    ++count;
    if (slot < 0) {
      std::printf("file: %s\n", text.c_str());
    } else {
      std::printf("slot %d: %s\n", slot, text.c_str());
    }
  }
};

void CheckSlot(const PointFile& file, int i, Findings& findings) {
  std::uint16_t flags = file.GetFlagWord(i);
  bool nicknameFlag = flags & PointRecord::kFlagNickname;
  if (nicknameFlag == file.GetNickname(i).empty()) {
    findings.Add(i, nicknameFlag ? "the nickname flag is set but the nickname is empty"
                                 : "the nickname is not empty but its flag is clear");
  }
  bool phoneFlag = flags & PointRecord::kFlagPhone;
  if (phoneFlag == file.GetPhone(i).empty()) {
    findings.Add(i, phoneFlag ? "the phone flag is set but the phone is empty"
                              : "the phone is not empty but its flag is clear");
  }
  int icon = file.GetIcon(i);
  if (icon < 1 || icon > kLastIconWithPicture) {
    findings.Add(i, "icon " + std::to_string(icon) + " is not one of the icons 1-" +
                        std::to_string(kLastIconWithPicture));
  }
  LocalStamp stamp = StoredStamp(file, i);
  if (!IsRealDate(stamp.year, stamp.month, stamp.day)) {
    findings.Add(i, "date " + file.GetDateText(i) + " is not a real date");
  }
  if (stamp.hour > 23 || stamp.minute > 59 || stamp.second > 59) {
    findings.Add(i, "time " + file.GetTimeText(i) + " is not a time of day");
  }
  double latitude = DegreesFromUnits(file.GetLatitude(i));
  double longitude = DegreesFromUnits(file.GetLongitude(i));
  if (latitude < kSouth || latitude > kNorth || longitude < kWest || longitude > kEast) {
    findings.Add(i, "longitude " + file.GetLongitudeText(i) + ", latitude " + file.GetLatitudeText(i) +
                        " lies outside Japan");
  }
}

int RunCheck(const CheckOptions& o) {
  auto opened = OpenPointFile(o.path, MissingFile::kRefuse);
  if (!opened) return kExitFailure;
  Findings findings;
  if (opened->fileSize != kPointFileLength) {
    findings.Add(-1, "size " + std::to_string(opened->fileSize) + " bytes; a point file has " +
                         std::to_string(kPointFileLength));
  }
  if (!opened->signatureMatched) {
    findings.Add(-1, "the signature \"Clarion Point Data Format\" is missing; this is not a point file");
    return kExitFailure;
  }
  PointFile& file = opened->file;
  int run = file.CountPoints();
  std::map<std::string, int> firstWithName;
  std::vector<int> wrongChecksums;
  for (int i = 0; i < kSlotCount; ++i) {
    if (!file.IsUsed(i)) continue;
    if (i >= run) findings.Add(i, "holds a point after the empty slot " + std::to_string(run));
    if (file.GetChecksum(i) != file.ComputeChecksum(i)) wrongChecksums.push_back(i);
    CheckSlot(file, i, findings);
    std::string name = file.GetName(i);
    auto [first, inserted] = firstWithName.emplace(name, i);
    if (!inserted) {
      findings.Add(i, "the name \"" + Cp932ToUtf8(name) + "\" is also that of slot " + std::to_string(first->second));
    }
  }
  for (int i : wrongChecksums) {
    char text[96];
    std::snprintf(text, sizeof text, "checksum %08X, the contents give %08X%s", file.GetChecksum(i),
                  file.ComputeChecksum(i), o.fixChecksums ? " (rewritten)" : "");
    if (o.fixChecksums) {
      file.UpdateChecksum(i);
      std::printf("slot %d: %s\n", i, text);
    } else {
      findings.Add(i, text);
    }
  }
  if (o.fixChecksums && !wrongChecksums.empty()) {
    file.SetModified(true);
    if (WritePointFile(file, o.path, o.backup) != kExitOk) return kExitFailure;
  }
  if (findings.count == 0) std::printf("%s: no findings\n", o.path.c_str());
  return findings.count == 0 ? kExitOk : kExitFailure;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int& status) {
  auto o = std::make_shared<CheckOptions>();
  CLI::App* command = app.add_subcommand(
      "check", "Check a point file; exit status 0 when nothing was found, 1 otherwise");
  command->add_option("FILE", o->path, "Point file (.pnt)")->required();
  command->add_flag("--fix-checksums", o->fixChecksums, "Rewrite the checksums that are wrong");
  command->add_flag("--backup", o->backup, "With --fix-checksums: keep the previous file as FILE.bak");
  command->callback([o, &status] { status = RunCheck(*o); });
}
