#pragma once
// A password given by a command of the user's (--password-command "pass show dav/home"): the command runs
// through the shell, and the first line it prints is the password. It runs with a time limit, so that a
// command waiting for input cannot hang the synchronization.
#include <QString>

class PasswordCommand {
public:
    struct Result {
        bool ok = false;
        QString password;
        QString error; // why there is no password: the command failed, printed nothing, or took too long
    };

    static Result Run(const QString& command, int timeoutMs = 30000);
};
