#include "cli/run_cli.h"

#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "core/version_info.h"
#include "core/windows1252.h"

namespace tavlo::cli {

int RunCli(int argc, char** argv) {
    CliContext context;
    context.programPath = argc > 0 ? argv[0] : "tavlo-cli";
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParseResult parsed = ParseArguments(args);
    const CliArguments& arguments = parsed.arguments;
    if (arguments.help) {
        std::fputs(UsageText(), context.out);
        return ExitOk;
    }
    if (arguments.version && parsed.error.empty()) {
        std::fprintf(context.out, "tavlo-cli %s\n", Windows1252ToUtf8(GetProductVersion()).c_str());
        return ExitOk;
    }
    if (!parsed.error.empty()) {
        context.Error(parsed.error);
        std::fputs("Try 'tavlo-cli --help'.\n", context.err);
        return ExitUsage;
    }
    int status = ExitUsage;
    if (arguments.command == "find") {
        status = RunFind(arguments, context);
    } else if (arguments.command == "patch") {
        status = RunPatch(arguments, context);
    } else if (arguments.command == "settings") {
        status = RunSettings(arguments, context);
    } else if (arguments.command == "preview") {
        status = RunPreview(arguments, context);
    } else if (arguments.command == "info") {
        status = RunInfo(arguments, context);
    }
    if (std::fflush(context.out) != 0) {
        context.Error("cannot write the output");
        return ExitFileError;
    }
    return status;
}

}  // namespace tavlo::cli
