#pragma once
// The form's side of command routing: the frame asks it whether a command is enabled (its update handlers)
// and hands it the commands it handles. The application answers the same questions for the commands that
// reach it last.
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // true when the target handles the command; enabled then says whether it is enabled now.
    virtual bool OnUpdateCommand(int id, bool& enabled) const = 0;
    // true when the target handled the command.
    virtual bool OnCommand(int id) = 0;
};
