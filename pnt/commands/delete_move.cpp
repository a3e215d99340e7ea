// pnt delete and pnt move: removing points and reordering them, as the list's Delete and drag do.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "pnt/command_support.h"
#include "pnt/commands/commands.h"

namespace {

struct DeleteOptions {
  std::string path;
  std::vector<std::string> slots;
  bool backup = false;
};

int RunDelete(const DeleteOptions& o) {
  auto opened = OpenPointFile(o.path, MissingFile::kRefuse);
  if (!opened) return kExitFailure;
  if (!opened->signatureMatched) return Fail(o.path + " is not a point file; it was left as it is");
  PointFile& file = opened->file;
  std::vector<int> slots;
  for (const std::string& text : o.slots) {
    auto slot = ParseSlotArgument(text, "SLOT");
    if (!slot) return kExitFailure;
    if (!file.IsUsed(*slot)) return Fail("slot " + text + " holds no point; nothing was deleted");
    slots.push_back(*slot);
  }
  // The numbers name the slots as they were before the command: deleting from the highest
  // down leaves the lower ones where they are.
  std::sort(slots.begin(), slots.end(), std::greater<>());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
  for (int slot : slots) file.DeleteRecord(slot);
  return WritePointFile(file, o.path, o.backup);
}

struct MoveOptions {
  std::string path, from, to;
  bool backup = false;
};

int RunMove(const MoveOptions& o) {
  auto opened = OpenPointFile(o.path, MissingFile::kRefuse);
  if (!opened) return kExitFailure;
  if (!opened->signatureMatched) return Fail(o.path + " is not a point file; it was left as it is");
  PointFile& file = opened->file;
  auto from = ParseSlotArgument(o.from, "FROM");
  if (!from) return kExitFailure;
  int count = file.GetPointCount();
  // TO may be one past the last point (put it last), which is slot 250 for a full file.
  int to = -1;
  if (o.to == std::to_string(count)) {
    to = count;
  } else if (auto slot = ParseSlotArgument(o.to, "TO")) {
    to = *slot;
  } else {
    return kExitFailure;
  }
  if (*from >= count) {
    return Fail("FROM " + o.from + " is not one of the points 0-" + std::to_string(count - 1) +
                (file.IsUsed(*from) ? " (it lies outside the leading run)" : ""));
  }
  if (to > count) return Fail("TO " + o.to + " lies beyond the points; give 0-" + std::to_string(count));
  if (to == *from || to == *from + 1) {
    Warn("the point already stands there; " + o.path + " was left as it is");
    return kExitOk;
  }
  if (file.MoveRecord(to, *from) < 0) return Fail("the point could not be moved");
  return WritePointFile(file, o.path, o.backup);
}

}  // namespace

void AddDeleteCommand(CLI::App& app, int& status) {
  auto o = std::make_shared<DeleteOptions>();
  CLI::App* command = app.add_subcommand("delete", "Delete the points in the given slots");
  command->add_option("FILE", o->path, "Point file (.pnt)")->required();
  command->add_option("SLOT", o->slots, "Slot numbers as they are before the command")->required();
  command->add_flag("--backup", o->backup, "Keep the previous file as FILE.bak");
  command->callback([o, &status] { status = RunDelete(*o); });
}

void AddMoveCommand(CLI::App& app, int& status) {
  auto o = std::make_shared<MoveOptions>();
  CLI::App* command = app.add_subcommand(
      "move", "Move the point in slot FROM to just before the point in slot TO (TO = count: last)");
  command->add_option("FILE", o->path, "Point file (.pnt)")->required();
  command->add_option("FROM", o->from, "Slot of the point to move")->required();
  command->add_option("TO", o->to, "Slot of the point it is to precede, or the point count")->required();
  command->add_flag("--backup", o->backup, "Keep the previous file as FILE.bak");
  command->callback([o, &status] { status = RunMove(*o); });
}
