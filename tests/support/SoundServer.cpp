#include "tests/support/SoundServer.h"

#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace testing_support {

namespace fs = std::filesystem;

// Enough of a failed server's log to say why.
constexpr size_t kLogTail = 2000;

bool runningUnderCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::strcmp(ci, "true") == 0;
}

std::unique_ptr<SoundServer> SoundServer::start(int sampleRate, std::string& error) {
    // Short, for the socket's path has to fit a Unix address.
    std::string pattern = (fs::temp_directory_path() / "pallqa-sound-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a folder for the server: " + std::string(std::strerror(errno));
        return nullptr;
    }
    std::unique_ptr<SoundServer> server(new SoundServer(pattern, sampleRate));
    if (!server->restart()) {
        // The folder goes with the server: its log is quoted here.
        std::ifstream log(server->folder_ / "server.log");
        const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        error = "the server did not start; its log ends:\n" + text.substr(text.size() > kLogTail ? text.size() - kLogTail : 0);
        return nullptr;
    }
    return server;
}

SoundServer::SoundServer(fs::path folder, int sampleRate) : folder_(std::move(folder)), sampleRate_(sampleRate) {}

SoundServer::~SoundServer() {
    kill();
    for (const char* name : {"PULSE_SERVER", "PULSE_CLIENTCONFIG", "PULSE_COOKIE"}) ::unsetenv(name);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

bool SoundServer::run(const std::string& verb, std::string& output) const {
    const std::string command = "'" PALLQA_SOUND_SERVER_SCRIPT "' " + verb + " '" + folder_.string() + "' " +
                                std::to_string(sampleRate_) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    std::array<char, 1024> buffer{};
    size_t count;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), count);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void SoundServer::kill() {
    std::string ignored;
    run("stop", ignored);
}

bool SoundServer::restart() {
    std::string output;
    if (!run("start", output)) return false;
    // The script prints `export NAME='value' ...`: the variables that lead to this server.
    std::istringstream words(output.substr(output.find("export ") + 7));
    std::string assignment;
    while (words >> assignment) {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos) continue;
        std::string value = assignment.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '\'') value = value.substr(1, value.size() - 2);
        ::setenv(assignment.substr(0, equals).c_str(), value.c_str(), 1);
    }
    return true;
}

}  // namespace testing_support
