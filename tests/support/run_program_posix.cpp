#include "tests/support/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>

extern char** environ;

namespace quorvel::testing {

Outcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const TempFolder& scratch) {
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const std::string streams[] = {scratch.File("stdout"), scratch.File("stderr")};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {1, 2}) {
        posix_spawn_file_actions_addopen(&actions, fd, streams[fd - 1].c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    Outcome outcome;
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
        waitpid(pid, &status, 0) == pid) {
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    std::string* texts[] = {&outcome.out, &outcome.err};
    for (int i : {0, 1}) {
        std::ifstream in(streams[i]);
        texts[i]->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return outcome;
}

}  // namespace quorvel::testing
