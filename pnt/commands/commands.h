// The pnt subcommands. Each Add* function registers one with its options; when the command
// runs it leaves its exit status in `status`.
#pragma once

namespace CLI {
class App;
}

void AddListCommand(CLI::App& app, int& status);
void AddInfoCommand(CLI::App& app, int& status);
void AddAddCommand(CLI::App& app, int& status);
void AddSetCommand(CLI::App& app, int& status);
void AddDeleteCommand(CLI::App& app, int& status);
void AddMoveCommand(CLI::App& app, int& status);
void AddCheckCommand(CLI::App& app, int& status);
void AddExportCommand(CLI::App& app, int& status);
void AddImportCommand(CLI::App& app, int& status);
void AddDiffCommand(CLI::App& app, int& status);
