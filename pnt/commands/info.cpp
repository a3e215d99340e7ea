// pnt info: what was read, and the state of the slot table.
#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "pnt/command_support.h"
#include "pnt/commands/commands.h"
#include "pointfile/point_record.h"

namespace {

std::string SlotList(const PointFile& file, bool (*select)(const PointFile&, int)) {
  std::string list;
  int count = 0;
  for (int i = 0; i < kSlotCount; ++i) {
    if (!select(file, i)) continue;
    list += (count++ ? ", " : "") + std::to_string(i);
  }
  return count ? std::to_string(count) + " (" + list + ")" : "none";
}

bool IsStray(const PointFile& file, int i) { return file.IsUsed(i) && i >= file.CountPoints(); }
bool HasBadChecksum(const PointFile& file, int i) {
  return file.IsUsed(i) && file.GetChecksum(i) != file.ComputeChecksum(i);
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& status) {
  auto path = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("info", "Summarise a point file: size, signature, counts");
  command->add_option("FILE", *path, "Point file (.pnt)")->required();
  command->callback([path, &status] {
    auto opened = OpenPointFile(*path, MissingFile::kRefuse);
    if (!opened) {
      status = kExitFailure;
      return;
    }
    const PointFile& file = opened->file;
    std::size_t read = std::min(opened->fileSize, kPointFileLength);
    std::printf("file: %s\n", path->c_str());
    std::printf("size read: %zu bytes", read);
    if (opened->fileSize != kPointFileLength) {
      std::printf(" (the file has %zu; a point file has %zu)", opened->fileSize, kPointFileLength);
    }
    std::printf("\nsignature: %s\n", opened->signatureMatched ? "matched" : "did not match");
    std::printf("points: %d\n", file.GetPointCount());
    std::printf("used slots outside the leading run: %s\n", SlotList(file, IsStray).c_str());
    std::printf("slots with a wrong checksum: %s\n", SlotList(file, HasBadChecksum).c_str());
    status = opened->signatureMatched ? kExitOk : kExitFailure;
  });
}
