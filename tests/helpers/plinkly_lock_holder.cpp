// Takes the run lock at argv[1] and reports the outcome on stdout; holds the lock until its
// standard input closes. Tests use it as a second, real process.
#include "Services/RunLock.h"

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    auto lock = RunLock::acquire(QString::fromLocal8Bit(argv[1]));
    if (!lock) {
        std::cout << (lock.error().refusal == RunLock::Refusal::alreadyRunning ? "already-running" : "unusable")
                  << std::endl;
        return 1;
    }
    std::cout << "locked" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
