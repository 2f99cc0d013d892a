#include "platform/launch/CommandLine.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <sstream>

#include "platform/core/TerminalText.h"

namespace platform {
namespace {

constexpr const char* kProgram = "pallqa-tuner";

std::string description() {
    return terminalText(
        "Pallqa Tuner tunes a five-course, ten-string instrument from the microphone,\n"
        "plays reference tones and string recordings, and shows chord fingerings.\n"
        "Without a display the screen is shown on the console; without a microphone\n"
        "a bundled recording of the five strings being tuned stands in for it.\n");
}

// Usage lines that name the program before a command ("pallqa-tuner tone ...").
class ProgramFormatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string name) const override {
        if (app->get_parent() != nullptr) name = std::string(kProgram) + " " + app->get_name();
        return CLI::Formatter::make_usage(app, name);
    }
};

// The words the parser writes around ours, in the user's language.
std::shared_ptr<CLI::Formatter> formatter() {
    auto formatter = std::make_shared<ProgramFormatter>();
    formatter->label("Usage", terminalText("Usage"));
    formatter->label("OPTIONS", terminalText("OPTIONS"));
    formatter->label("SUBCOMMAND", terminalText("COMMAND"));
    formatter->label("Positionals", terminalText("Positionals"));
    formatter->label("TEXT", terminalText("TEXT"));
    formatter->label("REQUIRED", terminalText("REQUIRED"));
    return formatter;
}

struct CommandLine {
    CLI::App program{description(), kProgram};
    LaunchOptionsReader launchOptions;
    LaunchOptionsDictionary applicationGiven;
    std::vector<std::pair<CLI::App*, CommandRunner>> commands;
    CLI::Option* version = nullptr;

    explicit CommandLine(const std::vector<CommandDefinition>& definitions,
                         const ApplicationOptions& applicationOptions = {}) {
        program.formatter(formatter());
        program.option_defaults()->group(terminalText("Options"));
        program.allow_extras();
        program.require_subcommand(0, 1);
        program.set_help_flag("-h,--help", terminalText("show this text and exit"));
        version = program.add_flag("--version")->description(terminalText("show the version and exit"));
        launchOptions.declare(program);
        if (applicationOptions) applicationOptions(program, applicationGiven);
        const std::string commandsHeading = terminalText("Subcommands");
        for (const auto& definition : definitions) {
            CLI::App* command = program.add_subcommand(definition.name, definition.summary);
            command->group(commandsHeading);
            command->allow_extras();
            command->set_help_flag("-h,--help", terminalText("show this command's usage and exit"));
            commands.emplace_back(command, definition.define(*command));
        }
    }

    std::pair<CLI::App*, CommandRunner> chosenCommand() const {
        for (const auto& [command, runner] : commands) {
            if (command->parsed()) return {command, runner};
        }
        return {nullptr, nullptr};
    }
};

// Words the parser did not take, named as the user would think of them.
std::string strayArgumentError(const CLI::App& where, const std::string& stray) {
    if (stray.starts_with("-")) return terminalText("unknown option \"%@\"", stray);
    if (where.get_parent() == nullptr) return terminalText("unknown command \"%@\"", stray);
    return terminalText("unexpected argument \"%@\"", stray);
}

// A valued option that took the next option as its value was given none.
std::string missingValueError(const CLI::App& where) {
    for (const CLI::Option* option : where.get_options()) {
        if (option->get_expected_min() == 0) continue;
        for (const std::string& value : option->results()) {
            if (value.starts_with("--")) return terminalText("%@ needs a value", option->get_name());
        }
    }
    return {};
}

// The parser's own complaint, in the words the rest of the program uses.
std::string parseError(const CLI::ParseError& error) {
    const std::string what = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        const auto colon = what.find(':');
        if (what.find("flag override") != std::string::npos) {
            return terminalText("%@ takes no value", "--" + what.substr(0, what.find(' ')));
        }
        // "--seconds: At Most 1 required but received 2": the option was given again.
        if (colon != std::string::npos && what.find(": At Most ") == colon) {
            return terminalText("%@ is given more than once; give it one value", what.substr(0, colon));
        }
        if (colon != std::string::npos) return terminalText("%@ needs a value", what.substr(0, colon));
    }
    // "FILE is required": an argument left out.
    if (constexpr std::string_view kRequired = " is required";
        dynamic_cast<const CLI::RequiredError*>(&error) != nullptr && what.ends_with(kRequired)) {
        return terminalText("%@ is required", what.substr(0, what.size() - kRequired.size()));
    }
    return what;
}

CommandLineRequest mistake(const std::string& error, const CLI::App& where, std::ostream& err) {
    const std::string help = std::string(kProgram) + (where.get_parent() ? " " + where.get_name() : std::string());
    err << kProgram << ": " << error << "\n" << terminalText("Run '%@ --help' for usage.", help) << "\n";
    CommandLineRequest request;
    request.exitStatus = kUsageError;
    return request;
}

}  // namespace

CommandLineRequest readCommandLine(std::span<const std::string> arguments,
                                   const std::vector<CommandDefinition>& commands, const std::string& version,
                                   std::ostream& out, std::ostream& err,
                                   const ApplicationOptions& applicationOptions) {
    CommandLine line(commands, applicationOptions);
    // The parser reads its arguments from the back.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        line.program.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        const auto [command, runner] = line.chosenCommand();
        out << (command ? command->help() : line.program.help());
        return {};
    } catch (const CLI::ParseError& error) {
        const auto [command, runner] = line.chosenCommand();
        return mistake(parseError(error), command ? *command : line.program, err);
    }

    const auto [command, runner] = line.chosenCommand();
    for (const CLI::App* where : {static_cast<const CLI::App*>(&line.program), static_cast<const CLI::App*>(command)}) {
        if (where == nullptr) continue;
        if (!where->remaining().empty()) {
            return mistake(strayArgumentError(*where, where->remaining().front()), *where, err);
        }
        if (const std::string error = missingValueError(*where); !error.empty()) return mistake(error, *where, err);
    }
    if (line.version->count() > 0) {
        out << version;
        return {};
    }

    CommandLineRequest request;
    if (command != nullptr) {
        request.kind = CommandLineRequest::Kind::RunCommand;
        request.command = runner;
        return request;
    }
    if (const std::string error = line.launchOptions.read(request.options); !error.empty()) {
        return mistake(error, line.program, err);
    }
    request.options.application = line.applicationGiven;
    request.kind = CommandLineRequest::Kind::RunApplication;
    return request;
}

std::string programHelp(const std::vector<CommandDefinition>& commands) { return CommandLine(commands).program.help(); }

ParsedLaunchOptions parseLaunchOptions(std::span<const std::string> arguments) {
    std::ostringstream out, err;
    const CommandLineRequest request = readCommandLine(arguments, {}, "", out, err);
    ParsedLaunchOptions parsed;
    parsed.options = request.options;
    if (request.kind != CommandLineRequest::Kind::RunApplication) {
        const std::string text = err.str();
        parsed.error = text.substr(0, text.find('\n'));
    }
    return parsed;
}

}  // namespace platform
