#pragma once

#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace anitrope {

inline constexpr std::string_view kProgramName = "anitrope-cli";

// Exit statuses of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // some input could not be processed
inline constexpr int kExitUsage = 2;    // the command line itself was wrong

using CommandArgs = std::span<const std::string>;

// One subcommand: its name, what it takes, a one-line summary and the function that runs
// it with the arguments after its name. Normal output goes to `out`, diagnostics to `err`.
struct CliCommand {
    std::string_view name;
    std::string_view arguments;
    std::string_view summary;
    int (*run)(CommandArgs args, std::ostream& out, std::ostream& err);
};

// Every subcommand, in the order the usage text lists them.
std::span<const CliCommand> CliCommands();

// The subcommand called `name`, or null.
const CliCommand* FindCliCommand(std::string_view name);

// "usage: anitrope-cli NAME ARGUMENTS" and the summary.
void PrintCommandUsage(const CliCommand& command, std::ostream& out);

// Answers a lone --help (usage on `out`, status 0) and an argument count not among `counts`
// (usage on `err`, status 2) for the command called `name`; nothing when it should run.
std::optional<int> AnswerHelpOrMiscount(std::string_view name, CommandArgs args,
                                        std::initializer_list<std::size_t> counts,
                                        std::ostream& out, std::ostream& err);

}  // namespace anitrope
