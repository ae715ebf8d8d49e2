#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/search_session.h"

namespace {

struct ShowOptions {
    std::string input;
    OutputOptions output;
};

} // namespace

void AddShowCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand("show", "Print the sets of a saved .eql result file");
    auto options = std::make_shared<ShowOptions>();
    command->add_option("file", options->input, "The .eql result file")->required();
    AddOutputOptions(*command, options->output, false);
    command->callback([&context, options] {
        SearchSession session(context);
        int job = 0;
        int sex = 0;
        int weaponSlots = 0;
        session.Load(options->input, job, sex, weaponSlots);
        const int code = session.Report(options->output, job, sex, weaponSlots);
        if (code != kExitOk) {
            throw CliExit{code, ""};
        }
    });
}
