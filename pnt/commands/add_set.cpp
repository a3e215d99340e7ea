// pnt add and pnt set: what the editor's Add and Edit do, from the command line.
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "exchange/point_waypoint.h"
#include "pnt/command_support.h"
#include "pnt/commands/commands.h"
#include "pnt/coordinate_input.h"

namespace {

// The degrees the edit dialog accepts: Japan and its waters.
constexpr long kMinLongitude = 122, kMaxLongitude = 146;
constexpr long kMinLatitude = 24, kMaxLatitude = 45;

struct FieldOptions {
  std::optional<std::string> name, location, nickname, phone, longitude, latitude;
  std::optional<int> icon, voice;
  bool backup = false;
};

void AddFieldOptions(CLI::App* command, FieldOptions& o) {
  command->add_option("--name", o.name, "Point name (19 characters at most)");
  command->add_option("--lon", o.longitude, "Longitude as DMS text, e.g. 139/44/28.500");
  command->add_option("--lat", o.latitude, "Latitude as DMS text, e.g. 35/39/29.123");
  command->add_option("--location", o.location, "Location text (19 characters at most)");
  command->add_option("--nickname", o.nickname, "Nickname (28 bytes of Shift_JIS at most)");
  command->add_option("--phone", o.phone, "Telephone number (12 characters at most)");
  command->add_option("--icon", o.icon, "Icon number 0-255 (the car shows 1-55)");
  command->add_option("--voice", o.voice, "Voice guidance code 0-31 (0 fanfare, 31 none)");
  command->add_flag("--backup", o.backup, "Keep the previous file as FILE.bak");
}

// The texts and numbers of `o`, checked and made ready for the fields. Prints what is wrong
// and returns false when something is refused.
struct FittedFields {
  std::optional<std::string> name, location, nickname, phone;
};

bool FitFields(const FieldOptions& o, FittedFields& fitted) {
  struct Text { const std::optional<std::string>& in; std::optional<std::string>& out; TextField field; const char* option; };
  for (Text t : {Text{o.name, fitted.name, TextField::kName, "--name"},
                 Text{o.location, fitted.location, TextField::kLocation, "--location"},
                 Text{o.nickname, fitted.nickname, TextField::kNickname, "--nickname"},
                 Text{o.phone, fitted.phone, TextField::kPhone, "--phone"}}) {
    if (!t.in) continue;
    TextChanges changes;
    t.out = FitFieldText(*t.in, t.field, changes);
    if (changes.replaced) {
      Fail(std::string(t.option) + " \"" + *t.in + "\": " + std::to_string(changes.replaced) +
           " character(s) cannot be written in code page 932");
      return false;
    }
    if (changes.folded) {
      Warn(std::string(t.option) + " \"" + *t.in + "\": " + std::to_string(changes.folded) +
           " letter(s) with a diacritic were written as their base letter");
    }
    if (changes.cut) Warn(std::string(t.option) + " \"" + *t.in + "\" is longer than its field and was cut");
  }
  if (o.name && fitted.name->empty()) {
    Fail("--name must not be empty");
    return false;
  }
  struct Coordinate { const std::optional<std::string>& text; const char* option; long min, max; };
  for (Coordinate c : {Coordinate{o.longitude, "--lon", kMinLongitude, kMaxLongitude},
                       Coordinate{o.latitude, "--lat", kMinLatitude, kMaxLatitude}}) {
    if (!c.text) continue;
    if (!DegreesInRange(*c.text, c.min, c.max)) {
      Fail(std::string(c.option) + " \"" + *c.text + "\": the degrees must lie in " + std::to_string(c.min) +
           "-" + std::to_string(c.max));
      return false;
    }
    if (std::string problem = DmsFieldProblem(*c.text); !problem.empty()) {
      Fail(std::string(c.option) + " \"" + *c.text + "\": " + problem);
      return false;
    }
  }
  if (o.icon && (*o.icon < 0 || *o.icon > 255)) {
    Fail("--icon " + std::to_string(*o.icon) + " is outside 0-255");
    return false;
  }
  if (o.voice && (*o.voice < 0 || *o.voice > 31)) {
    Fail("--voice " + std::to_string(*o.voice) + " is outside 0-31");
    return false;
  }
  return true;
}

// Writes each given field whose value differs from the stored one, in the edit dialog's order.
// Returns whether anything was written.
bool StoreFields(PointFile& file, int slot, const FieldOptions& o, const FittedFields& f) {
  bool changed = false;
  auto update = [&changed](bool differs, auto&& write) {
    if (!differs) return;
    write();
    changed = true;
  };
  if (f.name) update(*f.name != file.GetName(slot), [&] { file.SetName(slot, *f.name); });
  if (f.location) update(*f.location != file.GetLocation(slot), [&] { file.SetLocation(slot, *f.location); });
  // A coordinate is parsed only when its text differs from the stored value's text, so an
  // unchanged text keeps the exact stored value.
  if (o.longitude) {
    update(*o.longitude != file.GetLongitudeText(slot), [&] { file.SetLongitudeText(slot, *o.longitude); });
  }
  if (o.latitude) {
    update(*o.latitude != file.GetLatitudeText(slot), [&] { file.SetLatitudeText(slot, *o.latitude); });
  }
  if (o.icon) update(*o.icon != file.GetIcon(slot), [&] { file.SetIcon(slot, *o.icon); });
  if (f.nickname) update(*f.nickname != file.GetNickname(slot), [&] { file.SetNickname(slot, *f.nickname); });
  if (f.phone) update(*f.phone != file.GetPhone(slot), [&] { file.SetPhone(slot, *f.phone); });
  if (o.voice) {
    auto code = static_cast<std::uint16_t>(*o.voice << 5);
    update(code != file.GetVoiceCode(slot), [&] { file.SetVoiceCode(slot, code); });
  }
  return changed;
}

struct AddOptions : FieldOptions {
  std::string path;
  std::string at = "0";
};

int RunAdd(const AddOptions& o) {
  if (!o.name || !o.longitude || !o.latitude) return Fail("add needs --name, --lon and --lat");
  FittedFields fitted;
  if (!FitFields(o, fitted)) return kExitFailure;
  auto opened = OpenPointFile(o.path, MissingFile::kStartEmpty);
  if (!opened) return kExitFailure;
  if (!opened->signatureMatched) return Fail(o.path + " is not a point file; it was left as it is");
  PointFile& file = opened->file;
  if (file.GetPointCount() >= kSlotCount) return Fail(o.path + " already holds 250 points, the most a file can hold");
  auto slot = ParseSlotArgument(o.at, "--at");
  if (!slot) return kExitFailure;
  if (*slot > file.GetPointCount()) {
    return Fail("--at " + o.at + " lies beyond the points; the file holds " +
                std::to_string(file.GetPointCount()) + " (slots 0-" + std::to_string(file.GetPointCount()) + " may be given)");
  }
  if (file.InsertRecord(*slot) != 1) return Fail("slot " + o.at + " holds a point outside the leading run");
  StoreFields(file, *slot, o, fitted);
  file.UpdateChecksum(*slot);
  if (!opened->existed) Warn("creating " + o.path);
  return WritePointFile(file, o.path, o.backup);
}

struct SetOptions : FieldOptions {
  std::string path;
  std::string slot;
};

int RunSet(const SetOptions& o) {
  FittedFields fitted;
  if (!FitFields(o, fitted)) return kExitFailure;
  auto opened = OpenPointFile(o.path, MissingFile::kRefuse);
  if (!opened) return kExitFailure;
  if (!opened->signatureMatched) return Fail(o.path + " is not a point file; it was left as it is");
  PointFile& file = opened->file;
  auto slot = ParseSlotArgument(o.slot, "SLOT");
  if (!slot) return kExitFailure;
  if (!file.IsUsed(*slot)) return Fail("slot " + o.slot + " holds no point");
  if (!StoreFields(file, *slot, o, fitted)) {
    Warn("nothing changed; " + o.path + " was left as it is");
    return kExitOk;
  }
  file.UpdateChecksum(*slot);
  return WritePointFile(file, o.path, o.backup);
}

}  // namespace

void AddAddCommand(CLI::App& app, int& status) {
  auto o = std::make_shared<AddOptions>();
  CLI::App* command = app.add_subcommand(
      "add", "Add a point, as the editor's Add does (a missing FILE is created)");
  command->add_option("FILE", o->path, "Point file (.pnt)")->required();
  command->add_option("--at", o->at, "Slot the new point takes; later points move down (default 0)");
  AddFieldOptions(command, *o);
  command->callback([o, &status] { status = RunAdd(*o); });
}

void AddSetCommand(CLI::App& app, int& status) {
  auto o = std::make_shared<SetOptions>();
  CLI::App* command = app.add_subcommand("set", "Change fields of the point in SLOT");
  command->add_option("FILE", o->path, "Point file (.pnt)")->required();
  command->add_option("SLOT", o->slot, "Slot number (0-249) as pnt list shows it")->required();
  AddFieldOptions(command, *o);
  command->callback([o, &status] { status = RunSet(*o); });
}
