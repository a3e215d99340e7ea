// pnt diff: what differs between two point files, point by point, with diff's exit statuses.
#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "pnt/command_support.h"
#include "pnt/commands/commands.h"
#include "exchange/cp932.h"
#include "pointfile/point_diff.h"

namespace {

// diff's statuses: the files are the same, they differ, or they could not be compared.
constexpr int kExitSame = 0;
constexpr int kExitDiffer = 1;
constexpr int kExitTrouble = 2;

struct DiffOptions {
  std::string pathA;
  std::string pathB;
  bool json = false;
};

std::string Name(const PointFile& file, int slot) { return Cp932ToUtf8(PrintableText(file.GetName(slot))); }

std::string Field(const PointFile& file, int slot, PointField field) {
  return Cp932ToUtf8(PrintableText(PointFieldText(file, slot, field)));
}

void PrintText(const PointFile& a, const PointFile& b, const PointDiff& diff) {
  std::string out;
  for (int i : diff.removed) out += "removed  A " + std::to_string(i) + ": " + Name(a, i) + "\n";
  for (int j : diff.added) out += "added    B " + std::to_string(j) + ": " + Name(b, j) + "\n";
  for (const PairedPoint& pair : diff.paired) {
    const std::string slots = "A " + std::to_string(pair.slotA) + " -> B " + std::to_string(pair.slotB);
    if (pair.moved) out += "moved    " + slots + ": " + Name(b, pair.slotB) + "\n";
    if (pair.changed.empty()) continue;
    out += "changed  " + slots + ": " + Name(b, pair.slotB) + "\n";
    for (PointField field : pair.changed) {
      out += std::string("         ") + PointFieldName(field) + ": \"" + Field(a, pair.slotA, field) + "\" -> \"" +
             Field(b, pair.slotB, field) + "\"\n";
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void PrintJson(const PointFile& a, const PointFile& b, const PointDiff& diff) {
  nlohmann::ordered_json removed = nlohmann::json::array(), added = nlohmann::json::array(),
                         moved = nlohmann::json::array(), changed = nlohmann::json::array();
  for (int i : diff.removed) removed.push_back({{"slot", i}, {"name", Cp932ToUtf8(a.GetName(i))}});
  for (int j : diff.added) added.push_back({{"slot", j}, {"name", Cp932ToUtf8(b.GetName(j))}});
  for (const PairedPoint& pair : diff.paired) {
    const nlohmann::ordered_json where = {
        {"slot_a", pair.slotA}, {"slot_b", pair.slotB}, {"name", Cp932ToUtf8(b.GetName(pair.slotB))}};
    if (pair.moved) moved.push_back(where);
    if (pair.changed.empty()) continue;
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (PointField field : pair.changed) {
      fields[PointFieldName(field)] = {{"a", Cp932ToUtf8(PointFieldText(a, pair.slotA, field))},
                                       {"b", Cp932ToUtf8(PointFieldText(b, pair.slotB, field))}};
    }
    nlohmann::ordered_json entry = where;
    entry["fields"] = fields;
    changed.push_back(entry);
  }
  const nlohmann::ordered_json document = {{"same", diff.DifferingPoints() == 0},
                                           {"removed", removed},
                                           {"added", added},
                                           {"moved", moved},
                                           {"changed", changed}};
  std::printf("%s\n", document.dump().c_str());
}

int RunDiff(const DiffOptions& o) {
  auto a = OpenPointFile(o.pathA, MissingFile::kRefuse);
  if (!a) return kExitTrouble;
  auto b = OpenPointFile(o.pathB, MissingFile::kRefuse);
  if (!b) return kExitTrouble;
  if (!a->signatureMatched || !b->signatureMatched) return kExitTrouble;
  const PointDiff diff = DiffPoints(a->file, b->file);
  if (o.json) {
    PrintJson(a->file, b->file, diff);
  } else {
    PrintText(a->file, b->file, diff);
  }
  return diff.DifferingPoints() == 0 ? kExitSame : kExitDiffer;
}

}  // namespace

void AddDiffCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<DiffOptions>();
  CLI::App* command = app.add_subcommand(
      "diff", "Compare two point files point by point: added, removed, moved and changed points.\n"
              "Points are paired when they share a name within 300 m, or lie within 30 m of each other.\n"
              "Exit status: 0 the same points, 1 they differ, 2 trouble");
  command->add_option("A", options->pathA, "The point file compared from (.pnt)")->required();
  command->add_option("B", options->pathB, "The point file compared to (.pnt)")->required();
  command->add_flag("--json", options->json, "One JSON object: same, removed, added, moved, changed");
  command->callback([options, &status] { status = RunDiff(*options); });
}
