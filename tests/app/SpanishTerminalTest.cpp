// Spanish on the terminal too: under a Spanish locale the help of the program
// and of each command, the mistakes on its command line and the notices it
// gives on stderr are Spanish, and the numbers it writes or reads of its own
// take the comma; the log keeps its words.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "platform/core/Log.h"
#include "platform/launch/CommandLine.h"
#include "tests/support/PlainPlatform.h"

namespace {

struct CommandLineRun {
    platform::CommandLineRequest request;
    int status = 0;
    std::string out;
    std::string err;
};

// The program's command line read, and its command run, in the test's process.
CommandLineRun commandLine(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    CommandLineRun run;
    run.request = platform::readCommandLine(arguments, app::commands(), "pallqa-tuner 1.0.0\n", out, err);
    run.status = run.request.kind == platform::CommandLineRequest::Kind::RunCommand ? run.request.command(out, err)
                                                                                    : run.request.exitStatus;
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class SpanishTerminalTest : public testing_support::PlainPlatformTest {
protected:
    void useLanguage(const std::string& language) {
        platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), language));
    }

    // The help `arguments` ask for, in `language`.
    std::string helpIn(const std::string& language, std::vector<std::string> arguments) {
        useLanguage(language);
        arguments.push_back("--help");
        return commandLine(arguments).out;
    }
};

// Line for line: nothing of the English help is left untranslated.
TEST_F(SpanishTerminalTest, TheHelpOfTheProgramAndOfEachCommandIsSpanishThroughout) {
    std::vector<std::vector<std::string>> helps = {{}};
    for (const auto& command : app::commands()) helps.push_back({command.name});
    for (const auto& arguments : helps) {
        const auto english = linesOf(helpIn("en", arguments));
        const auto spanish = linesOf(helpIn("es", arguments));
        EXPECT_EQ(linesOf(helpIn("fr", arguments)), english) << "other languages get English";
        ASSERT_EQ(spanish.size(), english.size()) << helpIn("es", arguments);
        for (size_t i = 0; i < english.size(); ++i) {
            if (english[i].empty()) continue;
            EXPECT_NE(spanish[i], english[i]);
        }
    }
    const std::string program = helpIn("es", {});
    for (const char* line : {"Modo de empleo: pallqa-tuner [OPCIONES] [COMANDO]", "Opciones:", "Comandos:",
                             "  -h,--help                   muestra este texto y termina"}) {
        EXPECT_NE(program.find(std::string("\n") + line + "\n"), std::string::npos) << line << "\n" << program;
    }
    EXPECT_NE(helpIn("es", {"chord"}).find("Modo de empleo: pallqa-tuner chord [OPCIONES] TONICA TIPO\n"),
              std::string::npos);
}

TEST_F(SpanishTerminalTest, MistakesOnTheCommandLineAreNamedInSpanish) {
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } cases[] = {
        {{"--bogus"}, "pallqa-tuner: opción desconocida \"--bogus\"\n"
                      "Ejecuta 'pallqa-tuner --help' para ver el modo de empleo.\n"},
        {{"bogus"}, "pallqa-tuner: comando desconocido \"bogus\"\n"
                    "Ejecuta 'pallqa-tuner --help' para ver el modo de empleo.\n"},
        {{"--seconds"}, "pallqa-tuner: --seconds necesita un valor\n"
                        "Ejecuta 'pallqa-tuner --help' para ver el modo de empleo.\n"},
        {{"--headless=yes"}, "pallqa-tuner: --headless no lleva valor\n"
                             "Ejecuta 'pallqa-tuner --help' para ver el modo de empleo.\n"},
        {{"--screen", "watch:300"}, "pallqa-tuner: --screen necesita phone:ALTO o tablet:ALTO en puntos, no \"watch:300\"\n"
                                    "Ejecuta 'pallqa-tuner --help' para ver el modo de empleo.\n"},
        {{"--fast"}, "pallqa-tuner: --fast necesita --input\n"
                     "Ejecuta 'pallqa-tuner --help' para ver el modo de empleo.\n"},
        {{"analyze"}, "pallqa-tuner: falta ARCHIVO\n"
                      "Ejecuta 'pallqa-tuner analyze --help' para ver el modo de empleo.\n"},
        {{"tone", "A4", "de más"}, "pallqa-tuner: argumento inesperado \"de más\"\n"
                                   "Ejecuta 'pallqa-tuner tone --help' para ver el modo de empleo.\n"},
        {{"tone", "H4"}, "pallqa-tuner tone: nota desconocida \"H4\"; usa una de E5, A4, E4, C5, G4\n"},
        {{"tone", "A4", "--seconds", "0"},
         "pallqa-tuner tone: --seconds necesita un número de segundos mayor que 0 y de 3600 como mucho, no \"0\"\n"},
        {{"chord", "A", "9"}, "pallqa-tuner chord: tipo de acorde desconocido \"9\"; usa uno de -, m, 7, m7\n"},
    };
    useLanguage("es");
    for (const auto& c : cases) {
        const auto run = commandLine(c.arguments);
        EXPECT_EQ(run.status, platform::kUsageError) << c.said;
        EXPECT_EQ(run.err, c.said);
    }
}

// The seconds read as the user writes them; English keeps only the point.
TEST_F(SpanishTerminalTest, ANumberOfSecondsTakesTheDecimalSeparatorOfTheLanguage) {
    useLanguage("es");
    for (const char* seconds : {"2,5", "2.5"}) {
        const auto run = commandLine({"--seconds", seconds});
        ASSERT_EQ(run.request.kind, platform::CommandLineRequest::Kind::RunApplication) << run.err;
        EXPECT_EQ(run.request.options.seconds, 2.5) << seconds;
    }
    useLanguage("en");
    EXPECT_EQ(commandLine({"--seconds", "2,5"}).err,
              "pallqa-tuner: --seconds needs a number of seconds above 0, not \"2,5\"\n"
              "Run 'pallqa-tuner --help' for usage.\n");
}

TEST_F(SpanishTerminalTest, TheUserIsToldInSpanishWhileTheLogKeepsItsWords) {
    useLanguage("es");
    testing::internal::CaptureStderr();
    platform::NSLogAndTellUser("No display: the screen is shown on the console");
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(told.ends_with(": Sin pantalla gráfica: la pantalla se muestra en la consola\n")) << told;
    EXPECT_TRUE(log->contains("No display: the screen is shown on the console"));
}

}  // namespace
