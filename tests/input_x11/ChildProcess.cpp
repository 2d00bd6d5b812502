#include "ChildProcess.h"

#include <cstdio>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

TChildProcess::TChildProcess(
    const std::vector<std::string>& Arguments, const std::vector<std::string>& Environment, const std::string& OutputFile)
{
    std::vector<char*> Argv;
    for (const auto& Argument : Arguments)
        Argv.push_back(const_cast<char*>(Argument.c_str()));
    Argv.push_back(nullptr);
    std::vector<char*> Envp;
    for (const auto& Entry : Environment)
        Envp.push_back(const_cast<char*>(Entry.c_str()));
    for (char** Entry = environ; *Entry; ++Entry) {
        const std::string Name = std::string(*Entry).substr(0, std::string(*Entry).find('=') + 1);
        bool Overridden = false;
        for (const auto& Own : Environment)
            Overridden = Overridden || Own.rfind(Name, 0) == 0;
        if (!Overridden)
            Envp.push_back(*Entry);
    }
    Envp.push_back(nullptr);

    posix_spawnattr_t Attributes;
    posix_spawnattr_init(&Attributes);
    sigset_t None;
    sigemptyset(&None);
    posix_spawnattr_setsigmask(&Attributes, &None);
    posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSIGMASK);
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    if (!OutputFile.empty()) {
        posix_spawn_file_actions_addopen(&Actions, 1, OutputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&Actions, 1, 2);
    }
    const int Result = posix_spawnp(&Pid, Argv[0], &Actions, &Attributes, Argv.data(), Envp.data());
    posix_spawn_file_actions_destroy(&Actions);
    posix_spawnattr_destroy(&Attributes);
    if (Result != 0)
        throw std::runtime_error("cannot start " + Arguments[0]);
}

TChildProcess::~TChildProcess()
{
    if (!Ended) {
        Signal(SIGKILL);
        Wait();
    }
}

void TChildProcess::Signal(int Number)
{
    if (!Ended)
        kill(Pid, Number);
}

int TChildProcess::Wait(std::chrono::milliseconds Timeout)
{
    int Status = -1;
    const bool Done = WaitFor([&] { return waitpid(Pid, &Status, WNOHANG) == Pid; }, Timeout);
    Ended = Ended || Done;
    return Done ? Status : -1;
}

bool RunProgram(const std::vector<std::string>& Arguments)
{
    TChildProcess Program(Arguments);
    const int Status = Program.Wait();
    return Status != -1 && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

bool SetLayout(const std::string& Layout)
{
    const auto Colon = Layout.find(':');
    if (Colon == std::string::npos)
        return RunProgram({"setxkbmap", "-layout", Layout});
    return RunProgram({"setxkbmap", "-layout", Layout.substr(0, Colon), "-variant", Layout.substr(Colon + 1)});
}

std::string ReadWholeFile(const std::string& Path)
{
    std::ifstream File(Path, std::ios::binary);
    std::ostringstream Text;
    Text << File.rdbuf();
    return Text.str();
}

std::string KeymapDump()
{
    std::string Dump;
    FILE* Pipe = popen("xkbcomp -xkb \"$DISPLAY\" - 2>/dev/null", "r");
    if (!Pipe)
        return Dump;
    char Buffer[4096];
    while (const std::size_t Count = std::fread(Buffer, 1, sizeof Buffer, Pipe))
        Dump.append(Buffer, Count);
    pclose(Pipe);
    return Dump;
}
