// pnt: shows, edits, checks and converts point files from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "pnt/command_support.h"
#include "pnt/commands/commands.h"
#include "pnt/platform.h"
#include "resources/version.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  argc = static_cast<int>(pointers.size());
  const char* const* words = pointers.data();
  CLI::App app("pnt: show, edit, check and convert car-navigation point files (.pnt)", "pnt");
  app.set_version_flag("--version", "pnt " OSTREL_VERSION_TEXT);
  app.require_subcommand(1);
  int status = kExitOk;
  struct Command {
    const char* name;
    void (*add)(CLI::App&, int&);
  };
  static constexpr Command kCommands[] = {
      {"list", AddListCommand},     {"info", AddInfoCommand},   {"add", AddAddCommand},
      {"set", AddSetCommand},       {"delete", AddDeleteCommand}, {"move", AddMoveCommand},
      {"check", AddCheckCommand},   {"export", AddExportCommand}, {"import", AddImportCommand}, {"diff", AddDiffCommand},
  };
  // Setting up every command's options costs about as much as a whole export; when the first
  // argument names a command, only that one is set up. Anything else (help, a typo) gets all.
  const Command* chosen = nullptr;
  for (const Command& command : kCommands) {
    if (argc > 1 && std::strcmp(words[1], command.name) == 0) chosen = &command;
  }
  for (const Command& command : kCommands) {
    if (!chosen || chosen == &command) command.add(app, status);
  }
  try {
    app.parse(argc, words);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  }
  std::fflush(stdout);
  return status;
}
